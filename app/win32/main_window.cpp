#include "app/win32/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "app/tooltip.h"
#include "app/win32/tray_events.h"
#include "common/identity.h"
#include "common/win32/ansi_text.h"
#include "ui/settings/win32/virtual_keys.h"

namespace horalia::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"HoraliaMainWindow";
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kTaskMessage = WM_APP + 2;  // lParam: a std::function<void()> to run and delete

std::unique_ptr<std::function<void()>> TaskOf(LPARAM lParam) {
    return std::unique_ptr<std::function<void()>>(reinterpret_cast<std::function<void()>*>(lParam));
}
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

void MainWindow::WindowTimer::Arm(std::int32_t delayMilliseconds) {
    if (window_ != nullptr) {
        const UINT delay = static_cast<UINT>(std::max<std::int32_t>(delayMilliseconds, 1));
        SetTimer(window_, static_cast<UINT_PTR>(id_), delay, nullptr);
    }
}

void MainWindow::WindowTimer::Cancel() {
    if (window_ != nullptr) {
        KillTimer(window_, static_cast<UINT_PTR>(id_));
    }
}

HotkeyState MainWindow::WindowHotkey::Register(const Hotkey& hotkey) {
    Unregister();
    const UINT modifiers = (hotkey.control ? MOD_CONTROL : 0) | (hotkey.alt ? MOD_ALT : 0) |
                           (hotkey.shift ? MOD_SHIFT : 0) | (hotkey.win ? MOD_WIN : 0);
    const UINT key = VirtualKeyOf(hotkey.key);
    // Refused with ERROR_HOTKEY_ALREADY_REGISTERED when another program holds the combination
    // (the system keeps some for itself the same way). Held down, it announces once.
    held_ = window_ != nullptr && key != 0 &&
            RegisterHotKey(window_, kId, modifiers | MOD_NOREPEAT, key) != FALSE;
    return held_ ? HotkeyState::kActive : HotkeyState::kTaken;
}

void MainWindow::WindowHotkey::Unregister() {
    if (held_ && window_ != nullptr) {
        UnregisterHotKey(window_, kId);
    }
    held_ = false;
}

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance),
      toolTip_(Utf8ToWide(kInitialToolTip)),
      timers_{WindowTimer(TimerId::更新托盘显示时间), WindowTimer(TimerId::自动报时),
              WindowTimer(TimerId::自动校时), WindowTimer(TimerId::自动升级)} {}

MainWindow::~MainWindow() {
    form_ = nullptr;
    Unload();  // the menu and the icon are released after this, with the members
}

bool MainWindow::Create() {
    WNDCLASSEXW windowClass{};
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kApplicationIconId));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterWindowClass(windowClass)) {
        return false;
    }
    menu_.reset(CreateTrayMenu());
    icon_.reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kApplicationIconId),
                                              IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
    const std::wstring title = Utf8ToWide(kMainWindowTitle);
    // A tool window: no taskbar button even if it were ever shown. Not message-only, so that
    // FindWindow of a second start finds it.
    if (!CreateHandle(WS_EX_TOOLWINDOW, kWindowClass, title.c_str(),
                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, instance_)) {
        return false;
    }
    for (WindowTimer& timer : timers_) {
        timer.SetWindow(Handle());
    }
    hotkey_.SetWindow(Handle());
    taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
    // Run as administrator, the window would not get the message from an unelevated shell.
    ChangeWindowMessageFilterEx(Handle(), taskbarCreatedMessage_, MSGFLT_ALLOW, nullptr);
    AddIcon();
    return true;
}

FormTimerPort& MainWindow::Timer(TimerId id) {
    return timers_[static_cast<std::size_t>(id) - 1];
}

void MainWindow::Unload() {
    if (Handle() != nullptr) {
        DestroyWindow(Handle());  // WM_DESTROY removes the icon and stops the timers
    }
}

void MainWindow::SetToolTip(const std::string& text) {
    toolTip_ = Utf8ToWide(text);
    if (!iconAdded_) {
        AddIcon();  // the shell was not ready before; try again once a second
        return;
    }
    NOTIFYICONDATAW data = IconData(NIF_TIP | NIF_SHOWTIP);
    if (!Shell_NotifyIconW(NIM_MODIFY, &data)) {
        iconAdded_ = false;  // the shell lost it: added again at the next tick
    }
}

void MainWindow::SetMenuChecked(TrayMenuEntry entry, bool checked) {
    if (menu_ != nullptr) {
        CheckMenuItem(menu_.get(), static_cast<UINT>(MenuCommandId(entry)),
                      MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void MainWindow::PopupMenuAtPointer() {
    const HWND window = Handle();
    if (menu_ == nullptr || window == nullptr) {
        return;
    }
    POINT pointer{};
    GetCursorPos(&pointer);
    // Without the foreground the menu would not close when the user clicks elsewhere, and
    // without the WM_NULL after it the next popup would close at once (KB135788).
    SetForegroundWindow(window);
    TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, pointer.x,
                   pointer.y, 0, window, nullptr);
    PostMessageW(window, WM_NULL, 0, 0);
}

void MainWindow::Post(std::function<void()> task) {
    auto owned = std::make_unique<std::function<void()>>(std::move(task));
    const HWND window = Handle();
    if (window != nullptr &&
        PostMessageW(window, kTaskMessage, 0, reinterpret_cast<LPARAM>(owned.get()))) {
        owned.release();  // the message owns it now
    }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTaskMessage) {
        (*TaskOf(lParam))();
        return 0;
    }
    if (message == kTrayMessage) {
        OnTrayNotification(lParam);
        return 0;
    }
    if (message == taskbarCreatedMessage_ && message != 0) {
        AddIcon();  // the shell restarted and forgot every icon
        return 0;
    }
    switch (message) {
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_COMMAND:
            OnCommand(wParam);
            return 0;
        case WM_HOTKEY:
            if (wParam == WindowHotkey::kId && form_ != nullptr) {
                form_->Hotkey_报时热键_Pressed();
            }
            return 0;
        case WM_CLOSE:
            // Closed from outside (a task manager, the session): the same shutdown as the menu's.
            if (form_ != nullptr) {
                form_->MenuChosen(TrayMenuEntry::托盘图标_退出程序);
            } else {
                Unload();
            }
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_NCDESTROY: {
            for (WindowTimer& timer : timers_) {
                timer.SetWindow(nullptr);
            }
            hotkey_.SetWindow(nullptr);
            // Tasks that will never run are freed. PeekMessage hands out a WM_QUIT whatever the
            // filter: it goes back for the message loop.
            MSG pending;
            while (PeekMessageW(&pending, Handle(), kTaskMessage, kTaskMessage, PM_REMOVE)) {
                if (pending.message == WM_QUIT) {
                    PostQuitMessage(static_cast<int>(pending.wParam));
                    break;
                }
                TaskOf(pending.lParam);
            }
            break;
        }
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

void MainWindow::OnTimer(WPARAM id) {
    // One-shot: the core arms the next firing itself.
    KillTimer(Handle(), id);
    if (form_ == nullptr) {
        return;
    }
    switch (static_cast<TimerId>(id)) {
        case TimerId::更新托盘显示时间:
            return form_->Timer_更新托盘显示时间_Fired();
        case TimerId::自动报时:
            return form_->Timer_自动报时_Fired();
        case TimerId::自动校时:
            return form_->Timer_自动校时_Fired();
        case TimerId::自动升级:
            return form_->Timer_自动升级_Fired();
    }
}

void MainWindow::OnTrayNotification(LPARAM lParam) {
    const std::optional<std::int16_t> button = TrayButtonOf(lParam, versionFour_);
    if (button && form_ != nullptr) {
        form_->TrayIcon_托盘图标_MouseClick(*button);
    }
}

void MainWindow::OnCommand(WPARAM wParam) {
    const std::optional<TrayMenuEntry> entry = MenuEntryOfCommand(wParam);
    if (entry && form_ != nullptr) {
        form_->MenuChosen(*entry);
    }
}

void MainWindow::OnDestroy() {
    RemoveIcon();
    for (WindowTimer& timer : timers_) {
        timer.Cancel();
    }
    hotkey_.Unregister();
    PostQuitMessage(0);
}

NOTIFYICONDATAW MainWindow::IconData(UINT flags) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = Handle();
    data.uID = kIconId;
    data.uFlags = flags;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = icon_.get();
    const std::wstring tip = FitToolTip(toolTip_, std::size(data.szTip));
    std::copy(tip.begin(), tip.end(), data.szTip);
    return data;
}

void MainWindow::AddIcon() {
    NOTIFYICONDATAW data = IconData(NIF_ICON | NIF_MESSAGE | NIF_TIP | NIF_SHOWTIP);
    iconAdded_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    if (!iconAdded_) {
        // Refused as a duplicate when the shell kept it (a TaskbarCreated of no real restart).
        iconAdded_ = Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }
    if (!iconAdded_) {
        return;
    }
    data.uVersion = NOTIFYICON_VERSION_4;
    versionFour_ = Shell_NotifyIconW(NIM_SETVERSION, &data) != FALSE;
}

void MainWindow::ShowNotification(const std::string& title, const std::string& text) {
    if (!iconAdded_) {
        return;  // no icon to show a balloon beside
    }
    NOTIFYICONDATAW data = IconData(NIF_INFO);
    data.dwInfoFlags = NIIF_INFO;
    const std::wstring wideTitle = FitToolTip(Utf8ToWide(title), std::size(data.szInfoTitle));
    const std::wstring wideText = FitToolTip(Utf8ToWide(text), std::size(data.szInfo));
    std::copy(wideTitle.begin(), wideTitle.end(), data.szInfoTitle);
    std::copy(wideText.begin(), wideText.end(), data.szInfo);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

// Modal on the hidden window: the timers and the tray go on meanwhile, as under a menu.
void MainWindow::AskYesNo(const std::string& title, const std::string& text,
                          std::function<void(bool yes)> answered) {
    SetForegroundWindow(Handle());
    answered(AskYesNoBox(Handle(), Utf8ToWide(title), Utf8ToWide(text)));
}

void MainWindow::RemoveIcon() {
    if (iconAdded_) {
        NOTIFYICONDATAW data = IconData(0);
        Shell_NotifyIconW(NIM_DELETE, &data);
        iconAdded_ = false;
    }
}

}  // namespace horalia::win32
