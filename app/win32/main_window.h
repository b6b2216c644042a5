// The hidden main window titled "Horalia Ver:3.0.0.0": the running instance's marker. It carries
// the tray icon, the main form's four timers, the announcement hotkey and the UI thread's task
// queue, and routes each of their messages to Form_Main; it decides nothing itself.
#pragma once

#include <windows.h>

#include "app/form_main.h"
#include "app/win32/tray_icon.h"
#include "app/win32/window_ports.h"
#include "common/win32/window.h"

namespace horalia::win32 {

class MainWindow final : public Window {
  public:
    explicit MainWindow(HINSTANCE instance) : instance_(instance), tray_(instance) {}
    ~MainWindow() override;  // destroys the window if it is still there

    // Creates the window (never shown) and puts the icon in the tray; false without a window.
    bool Create();
    // Where the window's events go; nullptr drops them.
    void Attach(Form_Main* form) { form_ = form; }
    // Removes the icon, stops the timers and destroys the window, which ends the message loop.
    void Unload();

    TrayIcon& Tray() { return tray_; }
    WindowPorts& Ports() { return ports_; }

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(WPARAM id);

    HINSTANCE instance_;
    Form_Main* form_ = nullptr;
    TrayIcon tray_;
    WindowPorts ports_;
};

}  // namespace horalia::win32
