// The hidden main window titled "Horalia Ver:3.0.0.0": the running instance's marker, and the
// host of the tray icon, its popup menu, the main form's four timers and the announcement hotkey.
// It forwards every event to Form_Main and decides nothing itself.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "app/form_main.h"
#include "app/form_timer.h"
#include "app/main_form_ports.h"
#include "common/ui_thread.h"
#include "common/win32/handles.h"
#include "common/win32/window.h"

namespace horalia::win32 {

class MainWindow final : public Window, public TrayPort, public UiThread {
  public:
    // One SetTimer id per timer of the main form.
    enum class TimerId : UINT_PTR { 更新托盘显示时间 = 1, 自动报时, 自动校时, 自动升级 };

    explicit MainWindow(HINSTANCE instance);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window, never shown and without a taskbar button, and puts the icon in the
    // tray. False when the window cannot be created.
    bool Create();
    // Where the window's events go; nullptr drops them.
    void Attach(Form_Main* form) { form_ = form; }
    FormTimerPort& Timer(TimerId id);
    HotkeyPort& AnnounceHotkey() { return hotkey_; }

    // Removes the icon, stops the timers and destroys the window, which ends the message loop.
    void Unload();

    void SetToolTip(const std::string& text) override;
    void SetMenuChecked(TrayMenuEntry entry, bool checked) override;
    void PopupMenuAtPointer() override;
    void ShowNotification(const std::string& title, const std::string& text) override;
    void AskYesNo(const std::string& title, const std::string& text,
                  std::function<void(bool yes)> answered) override;
    // A message to this window carries the task: menus and dialogs running their own loops
    // dispatch it too. Without a window the task is dropped.
    void Post(std::function<void()> task) override;

  private:
    // A one-shot SetTimer on the main window; the window kills it when it fires.
    class WindowTimer final : public FormTimerPort {
      public:
        explicit WindowTimer(TimerId id) : id_(id) {}
        // The window it is set on while there is one; without, arming does nothing.
        void SetWindow(HWND window) { window_ = window; }
        void Arm(std::int32_t delayMilliseconds) override;
        void Cancel() override;

      private:
        HWND window_ = nullptr;
        TimerId id_;
    };

    // A desktop-wide key combination held by the main window (RegisterHotKey): a press arrives
    // as WM_HOTKEY with kId, wherever the focus is.
    class WindowHotkey final : public HotkeyPort {
      public:
        static constexpr int kId = 1;
        // The window it is held by while there is one; without, nothing can be held.
        void SetWindow(HWND window) { window_ = window; }
        HotkeyState Register(const Hotkey& hotkey) override;
        void Unregister() override;

      private:
        HWND window_ = nullptr;
        bool held_ = false;
    };

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(WPARAM id);
    void OnTrayNotification(LPARAM lParam);
    void OnCommand(WPARAM wParam);
    void OnDestroy();

    NOTIFYICONDATAW IconData(UINT flags) const;
    void AddIcon();
    void RemoveIcon();

    HINSTANCE instance_;
    UniqueMenu menu_;
    UniqueIcon icon_;
    UINT taskbarCreatedMessage_ = 0;
    bool iconAdded_ = false;
    bool versionFour_ = false;  // the notification icon API's version 4 was accepted
    std::wstring toolTip_;
    Form_Main* form_ = nullptr;
    std::array<WindowTimer, 4> timers_;
    WindowHotkey hotkey_;
};

}  // namespace horalia::win32
