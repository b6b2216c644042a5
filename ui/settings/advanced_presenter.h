// Form_高级设置: the advanced page of the settings dialog as state, and the rules its fields add:
// beside the hotkey, what became of it on this desktop; 半点报时 is out of force while 报时间隔
// is set.
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
    void ShowWhatIsInForce() override;
    void ShowHotkeyState();
};

}  // namespace horalia
