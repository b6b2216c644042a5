// A FormsPort for tests that exercise the main form without any secondary window.
#pragma once

#include "app/main_form_ports.h"

namespace horalia::fakes {

class NoForms final : public FormsPort {
  public:
    void ShowSettingsDialog(MainFormCallbacks&) override {}
    void UnloadSettingsDialog() override {}
    void ShowAboutBox() override {}
    void UnloadAboutBox() override {}
    void LoadAdvertisement() override {}
    void UnloadAdvertisementQuietly() override {}
};

}  // namespace horalia::fakes
