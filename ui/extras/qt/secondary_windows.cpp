#include "ui/extras/qt/secondary_windows.h"

namespace horalia::qt {

SecondaryWindows::SecondaryWindows(const SecondaryWindowsServices& s)
    : settings_(SettingsDialogServices{s.config, s.startStore, s.startCommand, s.settings}),
      about_(s.opener),
      advertisement_(s.pump, s.opener) {}

void SecondaryWindows::ShowSettingsDialog(MainFormCallbacks& mainForm) {
    settings_.Show(mainForm);
}

void SecondaryWindows::UnloadSettingsDialog() {
    settings_.Unload();
}

void SecondaryWindows::ShowAboutBox() {
    about_.Show();
}

void SecondaryWindows::UnloadAboutBox() {
    about_.Unload();
}

void SecondaryWindows::LoadAdvertisement() {
    advertisement_.Load();
}

void SecondaryWindows::UnloadAdvertisementQuietly() {
    advertisement_.UnloadQuietly();
}

}  // namespace horalia::qt
