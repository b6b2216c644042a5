// Form_一般设置: the settings dialog's controls as state, with their change actions, LoadDialog
// and ApplySettings. The window mirrors this state through SettingsDialogView and forwards every
// click here; it decides nothing itself.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "config/ini_file.h"
#include "config/settings.h"
#include "config/start_with_system.h"
#include "ui/settings/main_form_controls.h"

namespace horalia {

// The three option-button arrays; a group's selected index is the setting's value.
enum class OptionGroup { 报时设置, 格式设置, 广告设置 };
// Check_自动校时 is ticked while the automatic synchronisation runs (自动校时 = 0 in Value.ini).
enum class CheckBox { 关闭报时, 开机启动, 自动校时 };

inline constexpr int kNoOptionSelected = -1;

// Buttons in each group: Option_报时设置(0..2), Option_格式设置(0..2), Option_广告设置(0..1).
int OptionCount(OptionGroup group);

// What the presenter tells the window; each call reports a state that actually changed.
class SettingsDialogView {
  public:
    virtual ~SettingsDialogView() = default;
    virtual void ShowOption(OptionGroup group, int selectedIndex) = 0;  // or kNoOptionSelected
    virtual void ShowCheck(CheckBox box, int state) = 0;                // 0 clear, 1 ticked
    virtual void ShowApplyEnabled(bool enabled) = 0;                    // Command_应用
    // Opens the advanced page over the dialog (or brings it forward).
    virtual void ShowAdvancedPage() = 0;
    virtual void HideWindow() = 0;
    // Destroys the window; the presenter is not called again after this.
    virtual void UnloadWindow() = 0;
};

struct SettingsDialogServices {
    读写配置& config;
    StartEntryStore& startStore;
    std::string startCommand;
    SettingsRecord& settings;
};

class Form_一般设置 {
  public:
    // mainForm: the running main form, which the dialog switches while it is open.
    Form_一般设置(const SettingsDialogServices& services, MainFormControls& mainForm,
                  SettingsDialogView& view);

    // Shows the settings record; runs the change action of every control it changes.
    void LoadDialog();
    // Tells the window every control's state, as after the load or to undo what a toolkit
    // changed on its own.
    void ShowState();
    void ApplySettings();

    // The user (or LoadDialog) selects a button or sets a box; the change action runs only
    // when the state actually changes.
    void SelectOption(OptionGroup group, int index);
    void SetCheck(CheckBox box, int state);
    // A click on a check box: toggles it.
    void ToggleCheck(CheckBox box);

    void Command_应用_Click();
    void Command_确定_Click();
    void Command_取消_Click();
    // The link 切换到高级设置: the advanced page, whatever this page holds unapplied.
    void Label_高级设置_Click();

    int SelectedOption(OptionGroup group) const;
    int Check(CheckBox box) const;
    bool ApplyEnabled() const { return applyEnabled_; }

  private:
    void ShowAs(OptionGroup group, int selectedIndex);
    void SetApplyEnabled(bool enabled);
    void Check_开机启动_Click();
    void ReadSelection(OptionGroup group, std::int32_t& value) const;

    SettingsDialogServices s_;
    MainFormControls& mainForm_;
    SettingsDialogView& view_;
    // The controls as a new window creates them: first button selected (Option_广告设置: the
    // second), all boxes clear, Command_应用 disabled.
    std::array<int, 3> selected_{0, 0, 1};
    std::array<int, 3> checks_{0, 0, 0};
    bool applyEnabled_ = false;
};

}  // namespace horalia
