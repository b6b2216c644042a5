// What the main form drives in ui/: its secondary windows and the two external hooks.
#pragma once

#include <string>

#include "ui/settings/main_form_callbacks.h"

namespace horalia {

// The secondary windows: settings dialog, about box, advertisement window.
class FormsPort {
  public:
    virtual ~FormsPort() = default;
    // Modeless; one instance, brought forward. The dialog and its advanced page switch the main
    // form through mainForm while they are open.
    virtual void ShowSettingsDialog(MainFormCallbacks& mainForm) = 0;
    virtual void UnloadSettingsDialog() = 0;  // unapplied changes are lost
    virtual void ShowAboutBox() = 0;          // shown, or brought forward when open
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

}  // namespace horalia
