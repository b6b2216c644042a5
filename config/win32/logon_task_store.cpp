#include "config/win32/logon_task_store.h"

#include <windows.h>

#include <sddl.h>
#include <taskschd.h>
#include <wtsapi32.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/win32/ansi_text.h"
#include "common/win32/com.h"
#include "common/win32/handles.h"

namespace horalia {
namespace {

using win32::Bstr;
using win32::ComPtr;
using win32::ComScope;
using win32::Utf8ToWide;
using win32::WideToUtf8;

// The log-on trigger, which mingw-w64's taskschd.h leaves out: its methods after ITrigger's, in
// the order of the Windows SDK's declaration.
struct LogonTrigger : public ITrigger {
    virtual HRESULT STDMETHODCALLTYPE get_Delay(BSTR* delay) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Delay(BSTR delay) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_UserId(BSTR* user) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_UserId(BSTR user) = 0;
};
constexpr IID kLogonTriggerIid = {
    0x72dade38, 0xfae4, 0x4b3e, {0xba, 0xf4, 0x5d, 0x00, 0x9a, 0xf0, 0x2b, 0x1c}};

struct LocalFreeDeleter {
    void operator()(void* memory) const { LocalFree(memory); }
};
struct WtsFreeDeleter {
    void operator()(wchar_t* memory) const { WTSFreeMemory(memory); }
};

std::string SidText(PSID sid) {
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) {
        return "";
    }
    const std::unique_ptr<wchar_t, LocalFreeDeleter> owned(text);
    return WideToUtf8(text);
}

// "PC\alice" for a SID, as the Task Scheduler window shows the account.
std::string AccountOf(PSID sid) {
    wchar_t name[256] = {};
    wchar_t domain[256] = {};
    DWORD nameSize = 256;
    DWORD domainSize = 256;
    SID_NAME_USE use;
    if (!LookupAccountSidW(nullptr, sid, name, &nameSize, domain, &domainSize, &use)) {
        return "";
    }
    return WideToUtf8(domain[0] != L'\0' ? std::wstring(domain) + L"\\" + name : name);
}

// A user as the Task Scheduler may name one ("S-1-5-21-...", "PC\alice", "alice") as a SID.
std::string SidOf(const std::wstring& user) {
    if (user.empty()) {
        return "";
    }
    PSID sid = nullptr;
    if (ConvertStringSidToSidW(user.c_str(), &sid)) {
        const std::unique_ptr<void, LocalFreeDeleter> owned(sid);
        return SidText(sid);
    }
    BYTE buffer[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof buffer;
    wchar_t domain[256] = {};
    DWORD domainSize = 256;
    SID_NAME_USE use;
    return LookupAccountNameW(nullptr, user.c_str(), buffer, &size, domain, &domainSize, &use)
               ? SidText(buffer)
               : "";
}

LogonTaskUser ProcessUser() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return {};
    }
    const win32::UniqueKernelHandle owned(token);
    BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) {
        return {};
    }
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid;
    return {SidText(sid), AccountOf(sid)};
}

std::wstring SessionText(WTS_INFO_CLASS what) {
    wchar_t* text = nullptr;
    DWORD size = 0;
    if (!WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, what, &text,
                                     &size) ||
        text == nullptr) {
        return L"";
    }
    const std::unique_ptr<wchar_t, WtsFreeDeleter> owned(text);
    return text;
}

// The person logged on to this program's session, who may not be the account it runs as.
std::optional<LogonTaskUser> SessionUser() {
    const std::wstring name = SessionText(WTSUserName);
    const std::wstring domain = SessionText(WTSDomainName);
    if (name.empty()) {
        return std::nullopt;
    }
    const std::wstring account = domain.empty() ? name : domain + L"\\" + name;
    const std::string sid = SidOf(account);
    if (sid.empty()) {
        return std::nullopt;
    }
    return LogonTaskUser{sid, WideToUtf8(account)};
}

// The SIDs of the people who have a profile on this computer.
std::vector<std::string> ProfileSids() {
    HKEY key = nullptr;
    std::vector<std::string> sids;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                      L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", 0,
                      KEY_ENUMERATE_SUB_KEYS | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
        return sids;
    }
    const win32::UniqueRegKey owned(key);
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = 256;
        if (RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return sids;
        }
        sids.push_back(WideToUtf8(name));
    }
}

VARIANT Empty() {
    VARIANT none;
    VariantInit(&none);
    return none;
}

ComPtr<ITaskFolder> RootFolder(ComPtr<ITaskService>& service) {
    ComPtr<ITaskFolder> root;
    const VARIANT none = Empty();
    if (FAILED(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&service))) ||
        FAILED(service->Connect(none, none, none, none)) ||
        FAILED(service->GetFolder(Bstr(L"\\"), &root))) {
        return nullptr;
    }
    return root;
}

// The user named by the definition's first log-on trigger.
std::wstring TriggerUser(ITaskDefinition& definition) {
    ComPtr<ITriggerCollection> triggers;
    LONG count = 0;
    if (FAILED(definition.get_Triggers(&triggers)) || FAILED(triggers->get_Count(&count))) {
        return L"";
    }
    for (LONG i = 1; i <= count; ++i) {
        ComPtr<ITrigger> trigger;
        TASK_TRIGGER_TYPE2 type;
        ComPtr<LogonTrigger> logon;
        Bstr user;
        if (SUCCEEDED(triggers->get_Item(i, &trigger)) && SUCCEEDED(trigger->get_Type(&type)) &&
            type == TASK_TRIGGER_LOGON &&
            SUCCEEDED(trigger->QueryInterface(kLogonTriggerIid,
                                              reinterpret_cast<void**>(logon.GetAddressOf()))) &&
            SUCCEEDED(logon->get_UserId(user.Out()))) {
            return user.Text();
        }
    }
    return L"";
}

std::optional<RegisteredLogonTask> Described(ITaskDefinition& definition) {
    ComPtr<IPrincipal> principal;
    Bstr principalUser;
    ComPtr<IActionCollection> actions;
    ComPtr<IAction> action;
    ComPtr<IExecAction> exec;
    Bstr path;
    Bstr arguments;
    if (FAILED(definition.get_Actions(&actions)) || FAILED(actions->get_Item(1, &action)) ||
        FAILED(action.As(&exec)) || FAILED(exec->get_Path(path.Out()))) {
        return std::nullopt;
    }
    exec->get_Arguments(arguments.Out());
    if (SUCCEEDED(definition.get_Principal(&principal))) {
        principal->get_UserId(principalUser.Out());
    }
    return RegisteredLogonTask{WideToUtf8(path.Text()), WideToUtf8(arguments.Text()),
                               SidOf(TriggerUser(definition)), SidOf(principalUser.Text())};
}

// The Task Scheduler through its COM interface, with COM for the length of each call.
class ComTaskScheduler final : public TaskSchedulerPort {
  public:
    std::optional<RegisteredLogonTask> Find(const std::string& path) override {
        const ComScope com;
        ComPtr<ITaskService> service;
        const ComPtr<ITaskFolder> root = RootFolder(service);
        ComPtr<IRegisteredTask> task;
        ComPtr<ITaskDefinition> definition;
        if (root == nullptr || FAILED(root->GetTask(Bstr(Utf8ToWide(path)), &task)) ||
            FAILED(task->get_Definition(&definition))) {
            return std::nullopt;
        }
        return Described(*definition.Get());
    }

    bool Register(const std::string& path, const LogonTask& task) override {
        const ComScope com;
        ComPtr<ITaskService> service;
        const ComPtr<ITaskFolder> root = RootFolder(service);
        if (root == nullptr || !HasFolder(*root.Get())) {
            return false;
        }
        // The person's account, in the form the registration documents; the XML names the same
        // person by SID in the trigger and the principal.
        VARIANT user = Empty();
        const Bstr account(Utf8ToWide(task.account));
        if (!task.account.empty()) {
            user.vt = VT_BSTR;
            user.bstrVal = account;
        }
        const VARIANT none = Empty();
        ComPtr<IRegisteredTask> registered;
        return SUCCEEDED(root->RegisterTask(
            Bstr(Utf8ToWide(path)), Bstr(Utf8ToWide(LogonTaskXml(task))), TASK_CREATE_OR_UPDATE,
            user, none, TASK_LOGON_INTERACTIVE_TOKEN, none, &registered));
    }

    bool Delete(const std::string& path) override {
        const ComScope com;
        ComPtr<ITaskService> service;
        const ComPtr<ITaskFolder> root = RootFolder(service);
        if (root == nullptr || FAILED(root->DeleteTask(Bstr(Utf8ToWide(path)), 0))) {
            return false;
        }
        DeleteFolderIfEmpty(*root.Get());
        return true;
    }

    // Every task in the program's folder, the folder, and the earlier machine-wide task.
    bool DeleteAll() {
        const ComScope com;
        ComPtr<ITaskService> service;
        const ComPtr<ITaskFolder> root = RootFolder(service);
        if (root == nullptr) {
            return false;
        }
        root->DeleteTask(Bstr(Utf8ToWide(kEarlierLogonTaskPath)), 0);
        ComPtr<ITaskFolder> folder;
        if (FAILED(root->GetFolder(FolderName(), &folder))) {
            return true;
        }
        ComPtr<IRegisteredTaskCollection> tasks;
        LONG count = 0;
        if (SUCCEEDED(folder->GetTasks(TASK_ENUM_HIDDEN, &tasks)) &&
            SUCCEEDED(tasks->get_Count(&count))) {
            // From the last: should the collection follow the deletions, the indices left stay
            // valid.
            for (LONG i = count; i >= 1; --i) {
                ComPtr<IRegisteredTask> task;
                Bstr name;
                if (SUCCEEDED(tasks->get_Item(Index(i), &task)) &&
                    SUCCEEDED(task->get_Name(name.Out()))) {
                    folder->DeleteTask(name, 0);
                }
            }
        }
        // Where the folder cannot be listed (Wine), each task by the name it has for each
        // person with a profile on this computer.
        for (const std::string& sid : ProfileSids()) {
            root->DeleteTask(Bstr(Utf8ToWide(LogonTaskPath(sid))), 0);
        }
        // The Task Scheduler deletes no folder that still holds a task.
        return SUCCEEDED(root->DeleteFolder(FolderName(), 0));
    }

  private:
    static Bstr FolderName() { return Bstr(Utf8ToWide(kLogonTaskFolder)); }

    static VARIANT Index(LONG i) {
        VARIANT index = Empty();
        index.vt = VT_I4;
        index.lVal = i;
        return index;
    }

    static bool HasFolder(ITaskFolder& root) {
        ComPtr<ITaskFolder> folder;
        return SUCCEEDED(root.GetFolder(FolderName(), &folder)) ||
               SUCCEEDED(root.CreateFolder(FolderName(), Empty(), &folder));
    }

    // True when the folder is gone afterwards.
    static bool DeleteFolderIfEmpty(ITaskFolder& root) {
        ComPtr<ITaskFolder> folder;
        ComPtr<IRegisteredTaskCollection> tasks;
        LONG count = 0;
        if (FAILED(root.GetFolder(FolderName(), &folder))) {
            return true;
        }
        if (FAILED(folder->GetTasks(TASK_ENUM_HIDDEN, &tasks)) ||
            FAILED(tasks->get_Count(&count)) || count != 0) {
            return false;
        }
        return SUCCEEDED(root.DeleteFolder(FolderName(), 0));
    }
};

ComTaskScheduler& Scheduler() {
    static ComTaskScheduler scheduler;
    return scheduler;
}

}  // namespace

TaskSchedulerPort& SystemTaskScheduler() {
    return Scheduler();
}

LogonTaskPeople CurrentLogonTaskPeople() {
    return {ProcessUser(), SessionUser()};
}

std::optional<RegisteredLogonTask> TaskSchedulerReading(const std::string& xml) {
    const ComScope com;
    ComPtr<ITaskService> service;
    ComPtr<ITaskDefinition> definition;
    if (RootFolder(service) == nullptr || FAILED(service->NewTask(0, &definition)) ||
        FAILED(definition->put_XmlText(Bstr(Utf8ToWide(xml))))) {
        return std::nullopt;
    }
    return Described(*definition.Get());
}

bool RemoveEveryLogonTask() {
    return Scheduler().DeleteAll();
}

StartEntryStore& LogonTaskStartStore() {
    static PerUserLogonTaskStore store(SystemTaskScheduler(), CurrentLogonTaskPeople());
    return store;
}

}  // namespace horalia
