#include "ui/extras/win32/secondary_windows.h"

#include <commctrl.h>

namespace horalia::win32 {

SecondaryWindows::SecondaryWindows(const SecondaryWindowsServices& s) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    owner_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, s.instance,
                             nullptr);
    settings_ = std::make_unique<SettingsWindow>(
        s.instance, owner_,
        SettingsDialogServices{s.config, s.startStore, s.startCommand, s.settings});
    about_ = std::make_unique<AboutWindow>(s.instance, owner_, s.opener);
    advertisement_ =
        std::make_unique<AdWindow>(s.instance, owner_, s.pump, s.opener, s.advertisementUrl);
}

SecondaryWindows::~SecondaryWindows() {
    // The windows go before the owner they are owned by.
    settings_.reset();
    about_.reset();
    advertisement_.reset();
    if (owner_ != nullptr) {
        DestroyWindow(owner_);
    }
}

void SecondaryWindows::ShowSettingsDialog(MainFormCallbacks& mainForm) {
    settings_->Show(mainForm);
}

void SecondaryWindows::UnloadSettingsDialog() {
    settings_->Unload();
}

void SecondaryWindows::ShowAboutBox() {
    about_->ShowModal();
}

void SecondaryWindows::UnloadAboutBox() {
    about_->Unload();
}

void SecondaryWindows::LoadAdvertisement() {
    advertisement_->Load();
}

void SecondaryWindows::UnloadAdvertisementQuietly() {
    advertisement_->UnloadQuietly();
}

}  // namespace horalia::win32
