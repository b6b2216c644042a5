// The seams between the main form's logic (app/form_main.h) and the rest of the program:
// the windows it opens and closes, the two external hooks, and what the settings dialog may
// change on the running main form.
#pragma once

#include <string>

#include "app/tray_menu.h"

namespace horalia {

// The notification-area icon and its popup menu, built by the shell from kTrayMenu.
class TrayPort {
  public:
    virtual ~TrayPort() = default;
    virtual void SetToolTip(const std::string& text) = 0;  // lines joined by CR LF
    virtual void SetMenuChecked(TrayMenuEntry entry, bool checked) = 0;
    // Opens the popup at the mouse pointer; a chosen entry comes back as its own event.
    virtual void PopupMenuAtPointer() = 0;
    // A short message beside the icon: a balloon on Windows, a desktop notification on Linux.
    virtual void ShowNotification(const std::string& title, const std::string& text) = 0;
};

// The process around the main form.
class ProcessPort {
  public:
    virtual ~ProcessPort() = default;
    // True when a top-level window with exactly this title exists (the running instance's marker).
    virtual bool MarkerWindowExists(const std::string& title) = 0;
    virtual void EndProcessNow() = 0;  // silently, before anything is loaded
    virtual void SetCurrentFolder(const std::string& folder) = 0;
    // Removes the tray icon, stops the timers and releases the socket; the process then ends.
    virtual void UnloadMainForm() = 0;
};

// The secondary windows: settings dialog, about box, advertisement window.
class FormsPort {
  public:
    virtual ~FormsPort() = default;
    virtual void ShowSettingsDialog() = 0;    // modeless; one instance, brought forward
    virtual void UnloadSettingsDialog() = 0;  // unapplied changes are lost
    virtual void ShowAboutBox() = 0;          // modal: returns when the box is closed
    virtual void UnloadAboutBox() = 0;
    virtual void LoadAdvertisement() = 0;  // loads the window hidden; it slides in on its own
    // Clears OpenSponsorOnClose, then unloads the window (nothing when it is not loaded).
    virtual void UnloadAdvertisementQuietly() = 0;
};

// Update.dll / libUpdate.so and SendComment.dll / libSendComment.so, loaded on first call.
// A missing library or export makes the call do nothing.
class ExternalHooks {
  public:
    virtual ~ExternalHooks() = default;
    virtual void DoUpdate(const std::string& url) = 0;
    virtual void ShowComment(const std::string& text) = 0;
};

// What the settings dialog and the start switch push into the running main form.
class MainFormControls {
  public:
    virtual ~MainFormControls() = default;
    virtual void SetAnnounceTimerEnabled(bool enabled) = 0;  // Timer_自动报时
    virtual void SetSyncTimerEnabled(bool enabled) = 0;      // Timer_自动校时
    virtual void SetStartMenuChecked(bool checked) = 0;  // 托盘图标_开机启动's check mark
    // A write to Value.ini failed: the values hold for this run only, and the person is told.
    virtual void SettingsNotSaved() = 0;
};

}  // namespace horalia
