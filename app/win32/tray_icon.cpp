#include "app/win32/tray_icon.h"

#include <commctrl.h>

#include <algorithm>

#include "app/tooltip.h"
#include "app/win32/tray_events.h"
#include "common/win32/ansi_text.h"

namespace horalia::win32 {
namespace {

constexpr UINT kIconId = 1;
constexpr WORD kApplicationIconId = 1;  // the icon resource of horalia.rc

// The buttons 是 and 否 in every language of Windows: a task dialog (common controls 6, which the
// program's manifest asks for) names its own buttons. It is looked up at run time, so that a
// process without that manifest still starts; there the message box's buttons are the system's.
bool AskYesNoBox(HWND owner, const std::wstring& title, const std::wstring& text) {
    using TaskDialogIndirectProc = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
    // Loaded through the manifest's activation context: version 6 (kept for the process's life).
    static const HMODULE controls = LoadLibraryW(L"comctl32.dll");
    const auto taskDialog = controls == nullptr
                                ? nullptr
                                : reinterpret_cast<TaskDialogIndirectProc>(reinterpret_cast<void*>(
                                      GetProcAddress(controls, "TaskDialogIndirect")));
    if (taskDialog != nullptr) {
        const TASKDIALOG_BUTTON buttons[] = {{IDYES, L"\u662F"}, {IDNO, L"\u5426"}};  // 是 否
        TASKDIALOGCONFIG config{};
        config.cbSize = sizeof config;
        config.hwndParent = owner;
        config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
        config.pszWindowTitle = title.c_str();
        config.pszMainIcon = TD_WARNING_ICON;
        config.pszContent = text.c_str();
        config.cButtons = static_cast<UINT>(std::size(buttons));
        config.pButtons = buttons;
        config.nDefaultButton = IDNO;
        int pressed = IDNO;
        if (SUCCEEDED(taskDialog(&config, &pressed, nullptr, nullptr))) {
            return pressed == IDYES;
        }
    }
    return MessageBoxW(owner, text.c_str(), title.c_str(),
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2 | MB_SETFOREGROUND) == IDYES;
}

}  // namespace

TrayIcon::TrayIcon(HINSTANCE instance)
    : menu_(CreateTrayMenu()),
      icon_(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kApplicationIconId),
                                          IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                          GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR))),
      toolTip_(Utf8ToWide(kInitialToolTip)) {}

void TrayIcon::Add(HWND window) {
    window_ = window;
    taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
    // Run as administrator, the window would not get the message from an unelevated shell.
    ChangeWindowMessageFilterEx(window_, taskbarCreatedMessage_, MSGFLT_ALLOW, nullptr);
    AddAgain();
}

bool TrayIcon::ReAddOnTaskbarCreated(UINT message) {
    if (message == 0 || message != taskbarCreatedMessage_) {
        return false;
    }
    AddAgain();  // the shell restarted and forgot every icon
    return true;
}

void TrayIcon::AddAgain() {
    if (window_ == nullptr) {
        return;
    }
    NOTIFYICONDATAW data = IconData(NIF_ICON | NIF_MESSAGE | NIF_TIP | NIF_SHOWTIP);
    added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    if (!added_) {
        // Refused as a duplicate when the shell kept it (a TaskbarCreated of no real restart).
        added_ = Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }
    if (!added_) {
        return;
    }
    data.uVersion = NOTIFYICON_VERSION_4;
    versionFour_ = Shell_NotifyIconW(NIM_SETVERSION, &data) != FALSE;
}

void TrayIcon::Remove() {
    if (added_) {
        NOTIFYICONDATAW data = IconData(0);
        Shell_NotifyIconW(NIM_DELETE, &data);
        added_ = false;
    }
    window_ = nullptr;
}

std::optional<std::int16_t> TrayIcon::ButtonOf(LPARAM lParam) const {
    return TrayButtonOf(lParam, versionFour_);
}

void TrayIcon::SetToolTip(const std::string& text) {
    toolTip_ = Utf8ToWide(text);
    if (!added_) {
        AddAgain();  // the shell was not ready before; try again once a second
        return;
    }
    NOTIFYICONDATAW data = IconData(NIF_TIP | NIF_SHOWTIP);
    if (!Shell_NotifyIconW(NIM_MODIFY, &data)) {
        added_ = false;  // the shell lost it: added again at the next tick
    }
}

void TrayIcon::SetMenuChecked(TrayMenuEntry entry, bool checked) {
    if (menu_ != nullptr) {
        CheckMenuItem(menu_.get(), static_cast<UINT>(MenuCommandId(entry)),
                      MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void TrayIcon::PopupMenuAtPointer() {
    if (menu_ == nullptr || window_ == nullptr) {
        return;
    }
    POINT pointer{};
    GetCursorPos(&pointer);
    // Without the foreground the menu would not close when the user clicks elsewhere, and
    // without the WM_NULL after it the next popup would close at once (KB135788).
    SetForegroundWindow(window_);
    TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, pointer.x,
                   pointer.y, 0, window_, nullptr);
    PostMessageW(window_, WM_NULL, 0, 0);
}

void TrayIcon::ShowNotification(const std::string& title, const std::string& text) {
    if (!added_) {
        return;  // no icon to show a balloon beside
    }
    NOTIFYICONDATAW data = IconData(NIF_INFO);
    // No balloon in the first hour after a new user's first log-on, as Windows asks.
    data.dwInfoFlags = NIIF_INFO | NIIF_RESPECT_QUIET_TIME;
    const std::wstring wideTitle = FitToolTip(Utf8ToWide(title), std::size(data.szInfoTitle));
    const std::wstring wideText = FitToolTip(Utf8ToWide(text), std::size(data.szInfo));
    std::copy(wideTitle.begin(), wideTitle.end(), data.szInfoTitle);
    std::copy(wideText.begin(), wideText.end(), data.szInfo);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

NOTIFYICONDATAW TrayIcon::IconData(UINT flags) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kIconId;
    data.uFlags = flags;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = icon_.get();
    const std::wstring tip = FitToolTip(toolTip_, std::size(data.szTip));
    std::copy(tip.begin(), tip.end(), data.szTip);
    return data;
}

}  // namespace horalia::win32

namespace horalia::win32 {

void TrayIcon::AskYesNo(const std::string& title, const std::string& text,
                        std::function<void(bool yes)> answered) {
    SetForegroundWindow(window_);
    answered(AskYesNoBox(window_, Utf8ToWide(title), Utf8ToWide(text)));
}

}  // namespace horalia::win32
