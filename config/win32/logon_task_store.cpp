#include "config/win32/logon_task_store.h"

#include <windows.h>

#define SECURITY_WIN32
#include <security.h>
#include <taskschd.h>

#include <optional>
#include <string>

#include "common/win32/ansi_text.h"
#include "common/win32/com.h"

namespace horalia {
namespace {

using win32::Bstr;
using win32::ComPtr;
using win32::ComScope;

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
using win32::Utf8ToWide;
using win32::WideToUtf8;

struct Scheduler {
    ComPtr<ITaskService> service;
    ComPtr<ITaskFolder> root;
};

std::optional<Scheduler> Connect() {
    Scheduler s;
    VARIANT none;
    VariantInit(&none);
    if (FAILED(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&s.service))) ||
        FAILED(s.service->Connect(none, none, none, none)) ||
        FAILED(s.service->GetFolder(Bstr(L"\\"), &s.root))) {
        return std::nullopt;
    }
    return s;
}

std::wstring CurrentUser() {
    wchar_t name[512] = {};
    ULONG size = 512;
    if (GetUserNameExW(NameSamCompatible, name, &size)) {
        return name;
    }
    DWORD plainSize = 512;
    return GetUserNameW(name, &plainSize) ? name : L"";
}

// "\"C:\\path\\Horalia.exe\"": the program's path without its quotes.
std::wstring ProgramOf(const std::string& command) {
    std::string path = command;
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = path.substr(1, path.size() - 2);
    }
    return Utf8ToWide(path);
}

// The definition of the task: at the user's log-on, with the highest rights, without the time
// limit and battery rules that would end or hold back a program meant to run all day.
ComPtr<ITaskDefinition> Definition(ITaskService& service, const std::wstring& program) {
    ComPtr<ITaskDefinition> task;
    ComPtr<IPrincipal> principal;
    ComPtr<ITaskSettings> settings;
    ComPtr<ITriggerCollection> triggers;
    ComPtr<ITrigger> trigger;
    ComPtr<LogonTrigger> logon;
    ComPtr<IActionCollection> actions;
    ComPtr<IAction> action;
    ComPtr<IExecAction> exec;
    const bool made = SUCCEEDED(service.NewTask(0, &task)) &&
                      SUCCEEDED(task->get_Principal(&principal)) &&
                      SUCCEEDED(principal->put_LogonType(TASK_LOGON_INTERACTIVE_TOKEN)) &&
                      SUCCEEDED(principal->put_RunLevel(TASK_RUNLEVEL_HIGHEST)) &&
                      SUCCEEDED(task->get_Settings(&settings)) &&
                      SUCCEEDED(settings->put_DisallowStartIfOnBatteries(VARIANT_FALSE)) &&
                      SUCCEEDED(settings->put_StopIfGoingOnBatteries(VARIANT_FALSE)) &&
                      SUCCEEDED(settings->put_ExecutionTimeLimit(Bstr(L"PT0S"))) &&
                      SUCCEEDED(task->get_Triggers(&triggers)) &&
                      SUCCEEDED(triggers->Create(TASK_TRIGGER_LOGON, &trigger)) &&
                      SUCCEEDED(trigger->QueryInterface(
                          kLogonTriggerIid, reinterpret_cast<void**>(logon.GetAddressOf()))) &&
                      SUCCEEDED(logon->put_UserId(Bstr(CurrentUser()))) &&
                      SUCCEEDED(task->get_Actions(&actions)) &&
                      SUCCEEDED(actions->Create(TASK_ACTION_EXEC, &action)) &&
                      SUCCEEDED(action.As(&exec)) && SUCCEEDED(exec->put_Path(Bstr(program)));
    return made ? task : nullptr;
}

class LogonTaskStore final : public StartEntryStore {
  public:
    // The command of the task's first action, quoted as StartCommand quotes it.
    std::optional<std::string> Read() override {
        ComScope com;
        const std::optional<Scheduler> s = Connect();
        ComPtr<IRegisteredTask> task;
        ComPtr<ITaskDefinition> definition;
        ComPtr<IActionCollection> actions;
        ComPtr<IAction> action;
        ComPtr<IExecAction> exec;
        Bstr path;
        Bstr arguments;
        if (!s || FAILED(s->root->GetTask(Bstr(kTaskName), &task)) ||
            FAILED(task->get_Definition(&definition)) ||
            FAILED(definition->get_Actions(&actions)) || FAILED(actions->get_Item(1, &action)) ||
            FAILED(action.As(&exec)) || FAILED(exec->get_Path(path.Out()))) {
            return std::nullopt;
        }
        std::string command = "\"" + WideToUtf8(path.Text()) + "\"";
        if (SUCCEEDED(exec->get_Arguments(arguments.Out()))) {
            const std::wstring more = arguments.Text();
            if (!more.empty()) {
                command += " " + WideToUtf8(more);
            }
        }
        return command;
    }

    bool Write(const std::string& command) override {
        ComScope com;
        const std::optional<Scheduler> s = Connect();
        if (!s) {
            return false;
        }
        const ComPtr<ITaskDefinition> definition =
            Definition(*s->service.Get(), ProgramOf(command));
        VARIANT none;
        VariantInit(&none);
        ComPtr<IRegisteredTask> registered;
        return definition != nullptr &&
               SUCCEEDED(s->root->RegisterTaskDefinition(
                   Bstr(kTaskName), definition.Get(), TASK_CREATE_OR_UPDATE, none, none,
                   TASK_LOGON_INTERACTIVE_TOKEN, none, &registered));
    }

    bool Remove() override {
        ComScope com;
        const std::optional<Scheduler> s = Connect();
        return s && SUCCEEDED(s->root->DeleteTask(Bstr(kTaskName), 0));
    }

    std::string Location() const override {
        return std::string("任务计划程序的任务 ") + kStartEntryName;
    }

  private:
    static inline const std::wstring kTaskName = Utf8ToWide(kStartEntryName);
};

}  // namespace

StartEntryStore& LogonTaskStartStore() {
    static LogonTaskStore store;
    return store;
}

}  // namespace horalia
