#include "ui/settings/advanced_presenter.h"

namespace horalia {

Form_高级设置::Form_高级设置(const AdvancedDialogServices& services, SettingsPageView& view)
    : SettingsPagePresenter(SettingsPage::kAdvanced, services, view) {}

void Form_高级设置::LoadDialog() {
    SettingsPagePresenter::LoadDialog();
    ShowHotkeyState();
}

void Form_高级设置::Applied() {
    services_.mainForm.RefreshSettings();
    ShowHotkeyState();
}

void Form_高级设置::ShowHotkeyState() {
    ShowNote("报时热键", HotkeyStateText(services_.mainForm.AnnounceHotkeyState()));
}

}  // namespace horalia
