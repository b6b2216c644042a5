// The main window's ports other than the tray icon, each working through the window it is given:
// the main form's one-shot timers (SetTimer), the announcement hotkey (RegisterHotKey) and the
// queue of tasks posted back to the UI thread. Without a window none of them does anything.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>

#include "app/form_timer.h"
#include "app/main_form_ports.h"
#include "common/ui_thread.h"

namespace horalia::win32 {

// A one-shot SetTimer with its own id; the window kills it when it fires (WM_TIMER).
class WindowTimer final : public FormTimerPort {
  public:
    explicit WindowTimer(UINT_PTR id) : id_(id) {}
    void SetWindow(HWND window) { window_ = window; }
    void Arm(std::int32_t delayMilliseconds) override;
    void Cancel() override;

  private:
    HWND window_ = nullptr;
    UINT_PTR id_;
};

// The main form's four timers on one window, with the SetTimer ids of Id.
class WindowTimers {
  public:
    enum class Id : UINT_PTR { 更新托盘显示时间 = 1, 自动报时, 自动校时, 自动升级 };
    FormTimerPort& operator[](Id id) { return timers_[static_cast<std::size_t>(id) - 1]; }
    void SetWindow(HWND window);
    void CancelAll();

  private:
    std::array<WindowTimer, 4> timers_{WindowTimer(1), WindowTimer(2), WindowTimer(3),
                                       WindowTimer(4)};
};

// A desktop-wide key combination: a press arrives as WM_HOTKEY with kId, wherever the focus is.
class WindowHotkey final : public HotkeyPort {
  public:
    static constexpr int kId = 1;
    void SetWindow(HWND window) { window_ = window; }
    HotkeyState Register(const Hotkey& hotkey) override;
    void Unregister() override;

  private:
    HWND window_ = nullptr;
    bool held_ = false;
};

// A message to the window carries each task: menus and dialogs running their own loops dispatch
// it too. Without a window the task is dropped.
class WindowTasks final : public UiThread {
  public:
    static constexpr UINT kMessage = WM_APP + 2;  // lParam: a std::function<void()> to run
    void SetWindow(HWND window) { window_ = window; }
    void Post(std::function<void()> task) override;
    // Runs and frees the task a kMessage carries.
    static void Run(LPARAM lParam);
    // Frees the tasks still queued for the window, which will never run them.
    void DropPending();

  private:
    HWND window_ = nullptr;
};

// The ports the main window carries besides the tray icon.
struct WindowPorts {
    WindowTimers timers;
    WindowHotkey hotkey;
    WindowTasks tasks;

    void SetWindow(HWND window);
    // The timers stopped and the hotkey given up, as the window goes.
    void Stop();
};

}  // namespace horalia::win32
