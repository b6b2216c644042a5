// The secondary windows of the Linux program. The settings dialog, the about box and the
// advertisement window are Qt widgets over their presenters, and those presenters are still being
// written; until the windows exist, choosing their menu entries does nothing and there is nothing
// to unload at exit.
#pragma once

#include "app/main_form_ports.h"

namespace horalia::qt {

class PendingForms final : public FormsPort {
  public:
    void ShowSettingsDialog() override {}
    void UnloadSettingsDialog() override {}
    void ShowAboutBox() override {}
    void UnloadAboutBox() override {}
    void LoadAdvertisement() override {}
    void UnloadAdvertisementQuietly() override {}
};

}  // namespace horalia::qt
