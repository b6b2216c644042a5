// Form_高级设置: the advanced page of the settings dialog (quiet hours, half-hour and quarter
// chimes, natural reading, the desktop's quiet, the hotkey, volume, voice folder) as state, with
// LoadDialog and ApplySettings on it. The window mirrors this state through AdvancedDialogView and
// forwards every click and edit here.
#pragma once

#include <array>
#include <string>

#include "config/ini_file.h"
#include "config/settings.h"
#include "ui/settings/main_form_controls.h"

namespace horalia {

enum class AdvancedCheck { 免打扰, 自然读法, 勿扰检测 };
// 报时热键 holds the combination as FormatHotkey writes it; the window's hotkey box turns what the
// person presses into that text.
enum class AdvancedText { 免打扰开始, 免打扰结束, 语音目录, 报时热键 };
inline constexpr std::array kAdvancedChecks{AdvancedCheck::免打扰, AdvancedCheck::自然读法,
                                            AdvancedCheck::勿扰检测};
inline constexpr std::array kAdvancedTexts{AdvancedText::免打扰开始, AdvancedText::免打扰结束,
                                           AdvancedText::语音目录, AdvancedText::报时热键};
// Option_半点报时(0..2): 不报, 半点, 每刻钟, the values of 半点报时.
inline constexpr int kHalfHourOptionCount = 3;

// What the times show when the record has no quiet hours: ticking the box gives a usual night.
inline constexpr char kDefaultQuietStart[] = "22:00";
inline constexpr char kDefaultQuietEnd[] = "07:00";

// What the presenter tells the window; each call reports a state that actually changed.
class AdvancedDialogView {
  public:
    virtual ~AdvancedDialogView() = default;
    virtual void ShowCheck(AdvancedCheck box, int state) = 0;  // 0 clear, 1 ticked
    virtual void ShowText(AdvancedText field, const std::string& text) = 0;
    virtual void ShowVolume(int volume) = 0;
    virtual void ShowHalfHourOption(int index) = 0;
    // Beside the hotkey: what became of it on this desktop, or nothing.
    virtual void ShowHotkeyNote(const std::string& text) = 0;
    virtual void ShowQuietTimesEnabled(bool enabled) = 0;  // the two time boxes
    virtual void ShowApplyEnabled(bool enabled) = 0;       // Command_应用
    // Input that cannot be applied: tells the person why and puts the focus on the field.
    virtual void ShowInvalidInput(AdvancedText field, const std::string& message) = 0;
    // Lets the person pick a folder, starting at this one; a choice comes back through
    // Form_高级设置::FolderChosen, possibly after this call returned.
    virtual void ChooseFolder(const std::string& current) = 0;
    virtual void HideWindow() = 0;
    // Destroys the window; the presenter is not called again after this.
    virtual void UnloadWindow() = 0;
};

struct AdvancedDialogServices {
    读写配置& config;
    SettingsRecord& settings;
};

class Form_高级设置 {
  public:
    // mainForm: the running main form, which the page switches while it is open.
    Form_高级设置(const AdvancedDialogServices& services, MainFormControls& mainForm,
                  AdvancedDialogView& view);

    // Shows the settings record, Command_应用 disabled.
    void LoadDialog();
    // Tells the window every control's state, as after the load or to undo what a toolkit
    // changed on its own.
    void ShowState();
    // Checks the page's input; refused (nothing written, nothing changed) with a message when
    // a time is not a time or the hotkey is no combination. Otherwise the record takes the page's
    // values, at once for the running program, and the advanced keys that changed are written.
    bool ApplySettings();

    // The person changes a control; Command_应用 is enabled when its state actually changes.
    void SetCheck(AdvancedCheck box, int state);
    void ToggleCheck(AdvancedCheck box);
    // Typed text: the window shows it already.
    void SetText(AdvancedText field, const std::string& text);
    void SetVolume(int volume);      // held within 0..100
    void SelectHalfHour(int index);  // an index outside 0..2 selects 0
    void FolderChosen(const std::string& folder);

    void Command_浏览_Click();
    void Command_应用_Click();
    void Command_确定_Click();  // closes only when the page could be applied
    void Command_取消_Click();

    int Check(AdvancedCheck box) const;
    const std::string& Text(AdvancedText field) const;
    int Volume() const { return volume_; }
    int HalfHourOption() const { return halfHour_; }
    bool QuietTimesEnabled() const { return Check(AdvancedCheck::免打扰) == 1; }
    bool ApplyEnabled() const { return applyEnabled_; }

  private:
    void ShowAs(AdvancedText field, const std::string& text);
    void SetApplyEnabled(bool enabled);

    AdvancedDialogServices s_;
    MainFormControls& mainForm_;
    AdvancedDialogView& view_;
    void ShowHotkeyState();

    std::array<int, kAdvancedChecks.size()> checks_{};
    std::array<std::string, kAdvancedTexts.size()> texts_;
    int volume_ = 0;
    int halfHour_ = 0;
    std::string hotkeyNote_;
    bool applyEnabled_ = false;
};

}  // namespace horalia
