// The seams between the main form's logic (app/form_main.h) and the rest of the program:
// the windows it opens and closes, the two external hooks, and what the settings dialog may
// change on the running main form.
#pragma once

#include <string>

namespace horalia {

// The secondary windows: settings dialog, about box, advertisement window.
class FormsPort {
public:
    virtual ~FormsPort() = default;
    virtual void ShowSettingsDialog() = 0;    // modeless; one instance, brought forward
    virtual void UnloadSettingsDialog() = 0;  // unapplied changes are lost
    virtual void ShowAboutBox() = 0;          // modal: returns when the box is closed
    virtual void UnloadAboutBox() = 0;
    virtual void LoadAdvertisement() = 0;     // loads the window hidden; it slides in on its own
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
    virtual void SetStartMenuChecked(bool checked) = 0;      // 托盘图标_开机启动's check mark
};

}  // namespace horalia
