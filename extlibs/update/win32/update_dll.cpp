// Update.dll: DoUpdate starts one background check and returns at once.
//
// The check's thread holds its own reference to this DLL and ends with FreeLibraryAndExitThread,
// so the code it runs cannot be unmapped under it. At process exit Windows ends the thread before
// the DLL is detached, and the thread owns nothing with a static destructor.
#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include <memory>
#include <string>

#include "common/win32/ansi_text.h"
#include "common/win32/com.h"
#include "common/win32/handles.h"
#include "extlibs/update/update_check.h"
#include "extlibs/update/update_text.h"
#include "extlibs/update/win32/wininet_fetch.h"

namespace {

using horalia::win32::Utf8ToWide;

class WindowsUpdatePorts : public horalia::update::UpdatePorts {
  public:
    std::optional<std::string> Fetch(const std::string& url) override {
        return horalia::update::FetchWithWinInet(url);
    }

    bool AskToOpen(const std::string& version) override {
        const std::wstring text = Utf8ToWide(horalia::update::UpdatePromptText(version));
        const std::wstring title = Utf8ToWide(horalia::update::kUpdatePromptTitle);
        // No owner window: the question comes from a background thread and must not hide
        // behind other windows.
        constexpr UINT kStyle = MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND | MB_TOPMOST;
        return MessageBoxW(nullptr, text.c_str(), title.c_str(), kStyle) == IDYES;
    }

    void OpenPage(const std::string& url) override {
        ShellExecuteW(nullptr, L"open", Utf8ToWide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
};

struct CheckJob {
    std::string url;
    HMODULE self = nullptr;
};

// Any object inside this DLL names it for GetModuleHandleExW.
constexpr char kModuleAnchor = 0;

void RunCheck(const std::string& url) {
    // ShellExecute may hand the URL to a COM server.
    const horalia::win32::ComScope com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    try {
        WindowsUpdatePorts ports;
        horalia::update::CheckForUpdate(url, ports);
    } catch (...) {
        // Out of memory: the check is simply skipped.
    }
}

DWORD WINAPI CheckThread(void* parameter) {
    std::unique_ptr<CheckJob> job(static_cast<CheckJob*>(parameter));
    const HMODULE self = job->self;
    RunCheck(job->url);
    job.reset();
    horalia::update::EndCheck();
    FreeLibraryAndExitThread(self, 0);
    return 0;
}

bool StartCheckThread(const char* url) {
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&kModuleAnchor), &self))
        return false;
    auto job = std::make_unique<CheckJob>(CheckJob{url, self});
    const horalia::win32::UniqueKernelHandle thread(
        CreateThread(nullptr, 0, CheckThread, job.get(), 0, nullptr));
    if (!thread) {
        FreeLibrary(self);
        return false;
    }
    job.release();  // the thread owns it now
    return true;
}

}  // namespace

extern "C" void __stdcall DoUpdate(const char* ansiUrl) {
    // An empty address (a build without an update text) has nothing to fetch: no thread, no
    // request.
    if (ansiUrl == nullptr || !horalia::update::IsWebUrl(ansiUrl) ||
        !horalia::update::TryBeginCheck())
        return;
    bool started = false;
    try {
        started = StartCheckThread(ansiUrl);
    } catch (...) {
    }
    if (!started)
        horalia::update::EndCheck();
}
