#include "ui/extras/qt/qt_forms.h"

namespace horalia::qt {

QtForms::QtForms(const QtFormsServices& s)
    : settings_(
          SettingsDialogServices{s.config, s.startStore, s.startCommand, s.settings, s.mainForm}),
      about_(s.opener),
      advertisement_(s.pump, s.opener) {}

void QtForms::ShowSettingsDialog() {
    settings_.Show();
}

void QtForms::UnloadSettingsDialog() {
    settings_.Unload();
}

void QtForms::ShowAboutBox() {
    about_.Show();
}

void QtForms::UnloadAboutBox() {
    about_.Unload();
}

void QtForms::LoadAdvertisement() {
    advertisement_.Load();
}

void QtForms::UnloadAdvertisementQuietly() {
    advertisement_.UnloadQuietly();
}

}  // namespace horalia::qt
