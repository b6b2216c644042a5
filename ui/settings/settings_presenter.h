// Form_一般设置: the settings dialog's page as state, and the rules of its fields: 开机启动
// switches the start entry at once, 确定 or 应用 arm the main form's timers, and 报时设置 is out
// of force while the advanced page's 报时间隔 is set.
#pragma once

#include <string>

#include "config/start_with_system.h"
#include "ui/settings/settings_page.h"

namespace horalia {

struct SettingsDialogServices {
    读写配置& config;
    StartEntryStore& startStore;
    std::string startCommand;
    SettingsRecord& settings;
};

class Form_一般设置 final : public SettingsPagePresenter {
  public:
    Form_一般设置(const SettingsDialogServices& services, MainFormCallbacks& mainForm,
                  SettingsPageView& view);

    // Shows the settings record; a ticked 开机启动 runs its action, as the box's change from
    // clear does, which rewrites a start entry that went missing or stale.
    void LoadDialog() override;

  private:
    void FieldChanged(const SettingRow& row) override;
    void Applied() override;
    void ShowWhatIsInForce() override;
    void Check_开机启动_Click();

    StartEntryStore& startStore_;
    std::string startCommand_;
};

}  // namespace horalia
