// Form_高级设置: the advanced page of the settings dialog as state, and the rules its fields add:
// beside the hotkey, what became of it on this desktop; a time server list that can be read;
// 半点报时 is out of force while 报时间隔 is set.
#pragma once

#include "ui/settings/settings_page.h"

namespace horalia {

using AdvancedDialogServices = SettingsPageServices;

class Form_高级设置 final : public SettingsPagePresenter {
  public:
    Form_高级设置(const AdvancedDialogServices& services, MainFormCallbacks& mainForm,
                  SettingsPageView& view);

    void LoadDialog() override;

  private:
    // The running program takes the new hotkey; the note says what became of it.
    void Applied() override;
    // 校时服务器 must be a list of servers; the empty text is the built-in one.
    std::optional<std::string> TextProblem(const SettingRow& row,
                                           const std::string& text) const override;
    void ShowWhatIsInForce() override;
    void ShowHotkeyState();
};

}  // namespace horalia
