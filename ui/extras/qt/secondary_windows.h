// The Linux program's secondary windows: the settings dialog, the about box and the
// advertisement window, created when first shown and unloaded when closed.
#pragma once

#include <memory>
#include <string>

#include "ui/extras/main_form_windows.h"
#include "ui/extras/qt/about_dialog.h"
#include "ui/extras/qt/ad_window_qt.h"
#include "ui/settings/qt/settings_dialog.h"

namespace horalia::qt {

struct SecondaryWindowsServices {
    读写配置& config;
    StartEntryStore& startStore;
    std::string startCommand;
    SettingsRecord& settings;
    EventPump& pump;
    UrlOpener& opener;
};

class SecondaryWindows final : public FormsPort {
  public:
    explicit SecondaryWindows(const SecondaryWindowsServices& services);

    void ShowSettingsDialog(MainFormCallbacks& mainForm) override;
    void UnloadSettingsDialog() override;
    void ShowAboutBox() override;
    void UnloadAboutBox() override;
    void LoadAdvertisement() override;
    void UnloadAdvertisementQuietly() override;

    SettingsDialog& Settings() { return settings_; }
    AboutDialog& About() { return about_; }
    AdWindow& Advertisement() { return advertisement_; }

  private:
    SettingsDialog settings_;
    AboutDialog about_;
    AdWindow advertisement_;
};

}  // namespace horalia::qt
