// The program's secondary windows on Win32: the settings dialog, the about box and the
// advertisement window, created when first shown and unloaded when closed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/extras/main_form_windows.h"
#include "ui/extras/urls.h"
#include "ui/extras/win32/about_window.h"
#include "ui/extras/win32/ad_window_win32.h"
#include "ui/settings/win32/settings_window.h"

namespace horalia::win32 {

struct SecondaryWindowsServices {
    HINSTANCE instance;
    读写配置& config;
    StartEntryStore& startStore;
    std::string startCommand;
    SettingsRecord& settings;
    EventPump& pump;
    UrlOpener& opener;
    std::string advertisementUrl = kAdvertisementUrl;
};

class SecondaryWindows final : public FormsPort {
  public:
    explicit SecondaryWindows(const SecondaryWindowsServices& services);
    ~SecondaryWindows() override;
    SecondaryWindows(const SecondaryWindows&) = delete;
    SecondaryWindows& operator=(const SecondaryWindows&) = delete;

    void ShowSettingsDialog(MainFormCallbacks& mainForm) override;
    void UnloadSettingsDialog() override;
    void ShowAboutBox() override;
    void UnloadAboutBox() override;
    void LoadAdvertisement() override;
    void UnloadAdvertisementQuietly() override;

    SettingsWindow& Settings() { return *settings_; }
    AboutWindow& About() { return *about_; }
    AdWindow& Advertisement() { return *advertisement_; }

  private:
    // Never shown: owning the windows keeps them off the taskbar.
    HWND owner_ = nullptr;
    std::unique_ptr<SettingsWindow> settings_;
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<AdWindow> advertisement_;
};

}  // namespace horalia::win32
