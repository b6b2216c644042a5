#include "ui/extras/win32/secondary_windows.h"

#include <commctrl.h>

namespace horalia::win32 {

Windows::Windows(const WindowsServices& s) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    owner_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, s.instance,
                             nullptr);
    settings_ = std::make_unique<SettingsWindow>(
        s.instance, owner_,
        SettingsDialogServices{s.config, s.startStore, s.startCommand, s.settings, mainForm_});
    about_ = std::make_unique<AboutWindow>(s.instance, owner_, s.opener);
    advertisement_ =
        std::make_unique<AdWindow>(s.instance, owner_, s.pump, s.opener, s.advertisementUrl);
}

Windows::~Windows() {
    // The windows go before the owner they are owned by.
    settings_.reset();
    about_.reset();
    advertisement_.reset();
    if (owner_ != nullptr) {
        DestroyWindow(owner_);
    }
}

void Windows::ShowSettingsDialog() {
    settings_->Show();
}

void Windows::UnloadSettingsDialog() {
    settings_->Unload();
}

void Windows::ShowAboutBox() {
    about_->ShowModal();
}

void Windows::UnloadAboutBox() {
    about_->Unload();
}

void Windows::LoadAdvertisement() {
    advertisement_->Load();
}

void Windows::UnloadAdvertisementQuietly() {
    advertisement_->UnloadQuietly();
}

}  // namespace horalia::win32
