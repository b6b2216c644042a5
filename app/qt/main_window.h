// The Linux main form: the hidden window that carries the title, and every port of Form_Main
// built on Qt, wired to the form's handlers.
#pragma once

#include <QIcon>
#include <QWidget>
#include <memory>

#include "app/form_main.h"
#include "app/qt/desktop_hotkey.h"
#include "app/qt/qt_form_timer.h"
#include "app/qt/qt_process.h"
#include "app/qt/qt_tray.h"
#include "config/settings.h"
#include "timesync/qt/qt_time_socket.h"
#include "timesync/qt/system_clock_setter.h"
#include "ui/extras/linux/hook_loader.h"
#include "ui/extras/qt/desktop_url_opener.h"
#include "ui/extras/qt/secondary_windows.h"

namespace horalia::qt {

// The application icon in all its sizes, embedded in the program.
QIcon ApplicationIcon();

class MainWindow {
  public:
    explicit MainWindow(QtProcess& process);

    // Form_Load, then the icon goes into the tray as soon as there is one.
    void Load();

  private:
    void ConnectHandlers();

    QtProcess& process_;
    QWidget window_;  // never shown: it has no taskbar button
    AppPaths paths_;
    SettingsRecord settings_;
    QtTray tray_;
    QtEventPump pump_;
    DesktopUrlOpener opener_;
    SecondaryWindows forms_;
    HookLoader hooks_;
    QtTimeSocket socket_;
    SystemClockSetter clockSetter_;
    QtFormTimer trayClockTimer_;
    QtFormTimer announceTimer_;
    QtFormTimer syncTimer_;
    QtFormTimer updateTimer_;
    std::unique_ptr<DesktopHotkey> hotkey_;
    QuietSources desktopQuiet_;
    Form_Main form_;
};

}  // namespace horalia::qt
