// A page of the settings dialog as state: one field per settings row of the page, in the rows'
// order, filled from the settings record and read back into it. The generic presenter here does
// what every control kind does; each page adds the rules that tie its fields together, and the
// windows only show each field (SettingsPageView) and report the person's clicks and edits.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/ini_file.h"
#include "config/settings.h"
#include "ui/settings/main_form_callbacks.h"

namespace horalia {

// What the control of one setting shows.
struct FieldState {
    // A check box: the row's ticked or cleared value; options: the chosen value (its index, or
    // one of the control's values); number: the value in decimal; text, hotkey and folder: the
    // text; a time list: "1" while it is switched on, else "0".
    std::string value;
    // A time list: its box's text as typed, "HH:MM-HH:MM,HH:MM-HH:MM".
    std::string periods;
    std::string note;  // beside the control: what became of it on this desktop
    // Whether the control takes input: a time list's box while it is switched on; options that
    // another setting puts out of force are shown greyed.
    bool enabled = true;
    int invalidBox = -1;  // the box whose text cannot be applied (0: the control's one box)
    bool operator==(const FieldState&) const = default;
};

// What a page tells its window; ShowField reports a field whose state changed.
class SettingsPageView {
  public:
    virtual ~SettingsPageView() = default;
    virtual void ShowField(const SettingRow& row, const FieldState& state) = 0;
    virtual void ShowApplyEnabled(bool enabled) = 0;  // Command_应用
    // Input that cannot be applied: its box was just shown invalid; this says why.
    virtual void ShowMessage(const std::string&) {}
    // Lets the person pick a folder for the row, starting at this one; a choice comes back
    // through FolderChosen, possibly after this call returned.
    virtual void ChooseFolder(const SettingRow&, const std::string&) {}
    // Opens the advanced page over the dialog (or brings it forward).
    virtual void ShowAdvancedPage() {}
    virtual void HideWindow() = 0;
    // Destroys the window; the presenter is not called again after this.
    virtual void UnloadWindow() = 0;
};

struct SettingsPageServices {
    读写配置& config;
    SettingsRecord& settings;
};

// The ids the controls of a page carry: Enter and Esc reach 确定 and 取消 on every toolkit
// (Windows' IDOK and IDCANCEL); a setting's control parts are numbered from its row.
inline constexpr int kOkControlId = 1;
inline constexpr int kCancelControlId = 2;
inline constexpr int kApplyControlId = 1003;
inline constexpr int kAdvancedLabelId = 1400;
// The parts of a setting's control: option i is part i; a time list's switch is part 0 and
// its box part 1; a number's slider, an edit or a hotkey box part 0.
inline constexpr int kValueLabelPart = 1;  // a number: its value beside the slider
inline constexpr int kNotePart = 1;        // a hotkey: the note beside the box
inline constexpr int kBrowsePart = 1;      // a folder: 浏览…
inline constexpr int kPeriodsPart = 1;     // a time list: the box of periods
inline constexpr int kHintPart = 8;        // a time list: how to write the periods
inline constexpr int kCaptionPart = 9;     // the label or frame that names the control
int SettingControlId(std::string_view key, int part = 0);
// The value option `index` of the control stands for.
std::string OptionValue(const SettingControl& control, std::size_t index);

class SettingsPagePresenter {
  public:
    // mainForm: the running main form, which the page switches while it is open.
    SettingsPagePresenter(SettingsPage page, const SettingsPageServices& services,
                          MainFormCallbacks& mainForm, SettingsPageView& view);
    virtual ~SettingsPagePresenter() = default;

    // Shows the settings record as Value.ini holds it now, Command_应用 disabled.
    virtual void LoadDialog();
    // Tells the window every field's state, as after the load or to undo what a toolkit changed
    // on its own.
    void ShowState();
    // Checks the page's input; refused (nothing written, nothing changed) with a message when a
    // box cannot be read. Otherwise the record takes the page's values, at once for the running
    // program, and the page's keys that changed are written.
    bool ApplySettings();

    // The person's changes; Command_应用 is enabled when a field's state actually changes. A
    // value the control cannot take (an option without a button) changes nothing.
    void SetValue(std::string_view key, const std::string& value);
    void Toggle(std::string_view key);  // a check box, or the switch of a time list
    void SetPeriods(std::string_view key, const std::string& text);  // a time list's box
    void FolderChosen(std::string_view key, const std::string& folder);
    // A click on, or an edit of, the control with this id; nothing for an unknown id.
    void Click(int id);
    void Edit(int id, const std::string& text);

    void Command_应用_Click();
    void Command_确定_Click();  // closes only when the page could be applied
    void Command_取消_Click();

    const FieldState& Field(std::string_view key) const;
    const std::string& Value(std::string_view key) const { return Field(key).value; }
    bool ApplyEnabled() const { return applyEnabled_; }

  protected:
    // A field changed by the person (not by the load).
    virtual void FieldChanged(const SettingRow&) {}
    // The record took the page's values (saved: the file too).
    virtual void Applied() {}
    // Why a text box's text cannot be applied, or nothing: the page's own rules for its texts.
    virtual std::optional<std::string> TextProblem(const SettingRow&, const std::string&) const {
        return std::nullopt;
    }
    // Shows which controls are in force, after a load, a change and whenever the window asks
    // for the state (another page may have changed the record).
    virtual void ShowWhatIsInForce() {}
    // Sets a field as the program decides, without a change action and without enabling
    // Command_应用.
    void ShowValue(std::string_view key, const std::string& value);
    void ShowNote(std::string_view key, const std::string& note);
    // Greys the control (or shows it in force again) without changing its value.
    void ShowEnabled(std::string_view key, bool enabled);

    SettingsPageServices services_;
    MainFormCallbacks& mainForm_;
    SettingsPageView& view_;

  private:
    struct Slot {
        const SettingRow* row;
        FieldState state;
    };
    Slot* Find(std::string_view key);
    Slot* FindById(int id, int& part);
    void Show(Slot& field, FieldState state);
    void Change(Slot& field, FieldState state);
    void ShowRecord();
    bool Validate();
    void SetApplyEnabled(bool enabled);

    SettingsPage page_;
    std::vector<Slot> fields_;
    bool applyEnabled_ = false;
};

}  // namespace horalia
