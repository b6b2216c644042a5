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

struct WindowsServices {
    HINSTANCE instance;
    读写配置& config;
    StartEntryStore& startStore;
    std::string startCommand;
    SettingsRecord& settings;
    EventPump& pump;
    UrlOpener& opener;
    std::string advertisementUrl = kAdvertisementUrl;
};

class Windows final : public FormsPort {
  public:
    explicit Windows(const WindowsServices& services);
    ~Windows() override;
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    // The running main form, which is created after this object (it takes it as its FormsPort).
    void SetMainForm(MainFormControls& mainForm) { mainForm_.target = &mainForm; }

    void ShowSettingsDialog() override;
    void UnloadSettingsDialog() override;
    void ShowAboutBox() override;
    void UnloadAboutBox() override;
    void LoadAdvertisement() override;
    void UnloadAdvertisementQuietly() override;

    SettingsWindow& Settings() { return *settings_; }
    AboutWindow& About() { return *about_; }
    AdWindow& Advertisement() { return *advertisement_; }

  private:
    // Forwards to the main form once it is set; before that the switches have nothing to move.
    struct LateMainForm final : MainFormControls {
        void SetAnnounceTimerEnabled(bool enabled) override {
            if (target != nullptr) {
                target->SetAnnounceTimerEnabled(enabled);
            }
        }
        void SetSyncTimerEnabled(bool enabled) override {
            if (target != nullptr) {
                target->SetSyncTimerEnabled(enabled);
            }
        }
        void SetStartMenuChecked(bool checked) override {
            if (target != nullptr) {
                target->SetStartMenuChecked(checked);
            }
        }
        void SettingsNotSaved() override {
            if (target != nullptr) {
                target->SettingsNotSaved();
            }
        }
        void RefreshSettings() override {
            if (target != nullptr) {
                target->RefreshSettings();
            }
        }
        void StartNotChanged() override {
            if (target != nullptr) {
                target->StartNotChanged();
            }
        }
        HotkeyState AnnounceHotkeyState() const override {
            return target != nullptr ? target->AnnounceHotkeyState() : HotkeyState::kNone;
        }
        MainFormControls* target = nullptr;
    };

    LateMainForm mainForm_;
    // Never shown: owning the windows keeps them off the taskbar.
    HWND owner_ = nullptr;
    std::unique_ptr<SettingsWindow> settings_;
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<AdWindow> advertisement_;
};

}  // namespace horalia::win32
