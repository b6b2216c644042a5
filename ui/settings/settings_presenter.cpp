#include "ui/settings/settings_presenter.h"

namespace horalia {
namespace {

constexpr char kStartKey[] = "开机启动";

}  // namespace

Form_一般设置::Form_一般设置(const SettingsDialogServices& services, MainFormCallbacks& mainForm,
                             SettingsPageView& view)
    : SettingsPagePresenter(SettingsPage::kBasic, {services.config, services.settings}, mainForm,
                            view),
      startStore_(services.startStore),
      startCommand_(services.startCommand) {}

void Form_一般设置::LoadDialog() {
    SettingsPagePresenter::LoadDialog();
    if (Value(kStartKey) == "1") {
        Check_开机启动_Click();
    }
}

void Form_一般设置::FieldChanged(const SettingRow& row) {
    if (std::string_view(row.key) == kStartKey) {
        Check_开机启动_Click();
    }
}

void Form_一般设置::Applied() {
    mainForm_.SetAnnounceTimerEnabled(services_.settings.AnnounceOff == 0);
    mainForm_.SetSyncTimerEnabled(services_.settings.AutoSyncOff == 0);
}

void Form_一般设置::ShowWhatIsInForce() {
    ShowEnabled("报时设置", services_.settings.AnnounceInterval == 0);
}

// The start-with-Windows switch: the registration changes at once, whatever happens to the
// dialog afterwards.
void Form_一般设置::Check_开机启动_Click() {
    const bool on = Value(kStartKey) == "1";
    if (!SetStartEntry(startStore_, startCommand_, on)) {
        // The box goes back without running this action again, and the person hears why.
        ShowValue(kStartKey, on ? "0" : "1");
        mainForm_.StartNotChanged();
        return;
    }
    services_.settings.StartWithWindows = on ? 1 : 0;
    mainForm_.SetStartMenuChecked(on);
}

}  // namespace horalia
