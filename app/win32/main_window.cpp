#include "app/win32/main_window.h"

#include <array>

#include "app/win32/tray_events.h"
#include "common/identity.h"
#include "common/win32/ansi_text.h"

namespace horalia::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"HoraliaMainWindow";
constexpr WORD kApplicationIconId = 1;  // the icon resource of horalia.rc
// The handlers of the timers, in the order of their ids (WindowTimers::Id).
constexpr std::array<void (Form_Main::*)(), 4> kTimerHandlers{
    &Form_Main::Timer_更新托盘显示时间_Fired, &Form_Main::Timer_自动报时_Fired,
    &Form_Main::Timer_自动校时_Fired, &Form_Main::Timer_自动升级_Fired};

}  // namespace

MainWindow::~MainWindow() {
    form_ = nullptr;
    Unload();
}

bool MainWindow::Create() {
    WNDCLASSEXW windowClass{};
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kApplicationIconId));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = kWindowClass;
    const std::wstring title = Utf8ToWide(kMainWindowTitle);
    // A tool window has no taskbar button; not message-only, so that a second start finds it.
    if (!RegisterWindowClass(windowClass) ||
        !CreateHandle(WS_EX_TOOLWINDOW, kWindowClass, title.c_str(),
                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, instance_)) {
        return false;
    }
    ports_.SetWindow(Handle());
    tray_.Add(Handle());
    return true;
}

void MainWindow::Unload() {
    if (Handle() != nullptr) {
        DestroyWindow(Handle());  // WM_DESTROY removes the icon and stops the timers
    }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WindowTasks::kMessage) {
        WindowTasks::Run(lParam);
        return 0;
    }
    if (message == TrayIcon::kCallbackMessage) {
        if (const auto button = tray_.ButtonOf(lParam); button && form_ != nullptr) {
            form_->TrayIcon_托盘图标_MouseClick(*button);
        }
        return 0;
    }
    if (tray_.ReAddOnTaskbarCreated(message)) {
        return 0;
    }
    switch (message) {
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_COMMAND:
            if (const auto entry = MenuEntryOfCommand(wParam); entry && form_ != nullptr) {
                form_->MenuChosen(*entry);
            }
            return 0;
        case WM_HOTKEY:
            if (wParam == WindowHotkey::kId && form_ != nullptr) {
                form_->Hotkey_报时热键_Pressed();
            }
            return 0;
        case WM_CLOSE:
            // Closed from outside (a task manager, the session): the same shutdown as the menu's.
            if (form_ == nullptr) {
                Unload();
            } else {
                form_->MenuChosen(TrayMenuEntry::托盘图标_退出程序);
            }
            return 0;
        case WM_DESTROY:
            tray_.Remove();
            ports_.Stop();
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            ports_.tasks.DropPending();  // tasks that will never run are freed
            ports_.SetWindow(nullptr);
            break;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

void MainWindow::OnTimer(WPARAM id) {
    KillTimer(Handle(), id);  // one-shot: the core arms the next firing itself
    if (form_ != nullptr && id >= 1 && id <= kTimerHandlers.size()) {
        (form_->*kTimerHandlers[id - 1])();
    }
}

}  // namespace horalia::win32
