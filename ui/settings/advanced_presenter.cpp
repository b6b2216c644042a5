#include "ui/settings/advanced_presenter.h"

namespace horalia {

Form_高级设置::Form_高级设置(const AdvancedDialogServices& services, MainFormCallbacks& mainForm,
                             SettingsPageView& view)
    : SettingsPagePresenter(SettingsPage::kAdvanced, services, mainForm, view) {}

void Form_高级设置::LoadDialog() {
    SettingsPagePresenter::LoadDialog();
    ShowHotkeyState();
}

void Form_高级设置::Applied() {
    mainForm_.RefreshSettings();
    ShowHotkeyState();
}

void Form_高级设置::ShowWhatIsInForce() {
    ShowEnabled("半点报时", Value("报时间隔").empty());
}

void Form_高级设置::ShowHotkeyState() {
    ShowNote("报时热键", HotkeyStateText(mainForm_.AnnounceHotkeyState()));
}

}  // namespace horalia
