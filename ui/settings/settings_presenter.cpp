#include "ui/settings/settings_presenter.h"

#include <utility>

namespace horalia {
namespace {

std::size_t Slot(OptionGroup group) {
    return static_cast<std::size_t>(group);
}
std::size_t Slot(CheckBox box) {
    return static_cast<std::size_t>(box);
}

}  // namespace

int OptionCount(OptionGroup group) {
    return group == OptionGroup::广告设置 ? 2 : 3;
}

Form_一般设置::Form_一般设置(const SettingsDialogServices& services, SettingsDialogView& view)
    : s_(services), view_(view) {}

void Form_一般设置::LoadDialog() {
    s_.mainForm.RefreshSettings();
    ShowAs(OptionGroup::报时设置, s_.settings.AnnounceFrequency);
    ShowAs(OptionGroup::格式设置, s_.settings.AnnounceFormat);
    ShowAs(OptionGroup::广告设置, s_.settings.AdMode);
    SetCheck(CheckBox::关闭报时, s_.settings.AnnounceOff);
    SetCheck(CheckBox::开机启动, s_.settings.StartWithWindows);
    // Ticked while the synchronisation runs: the opposite of 自动校时 (1 = off).
    SetCheck(CheckBox::自动校时, s_.settings.AutoSyncOff == 0 ? 1 : 0);
    // Last: the change actions above may have enabled it.
    SetApplyEnabled(false);
}

void Form_一般设置::ApplySettings() {
    SettingsRecord& r = s_.settings;
    const SettingsRecord before = r;
    ReadSelection(OptionGroup::报时设置, r.AnnounceFrequency);
    ReadSelection(OptionGroup::格式设置, r.AnnounceFormat);
    ReadSelection(OptionGroup::广告设置, r.AdMode);
    r.AnnounceOff = Check(CheckBox::关闭报时);
    r.AutoSyncOff = Check(CheckBox::自动校时) == 1 ? 0 : 1;

    // The values apply for this run whether or not the file takes them.
    const bool saved = SaveSettings(s_.config, before, r, SettingsPage::kBasic);

    s_.mainForm.SetAnnounceTimerEnabled(Check(CheckBox::关闭报时) != 1);
    s_.mainForm.SetSyncTimerEnabled(Check(CheckBox::自动校时) == 1);
    SetApplyEnabled(false);
    if (!saved) {
        s_.mainForm.SettingsNotSaved();
    }
}

void Form_一般设置::SelectOption(OptionGroup group, int index) {
    if (index < 0 || index >= OptionCount(group) || selected_[Slot(group)] == index) {
        return;
    }
    selected_[Slot(group)] = index;
    view_.ShowOption(group, index);
    SetApplyEnabled(true);
}

void Form_一般设置::SetCheck(CheckBox box, int state) {
    state = state == 1 ? 1 : 0;
    if (checks_[Slot(box)] == state) {
        return;
    }
    checks_[Slot(box)] = state;
    view_.ShowCheck(box, state);
    if (box == CheckBox::开机启动) {
        Check_开机启动_Click();
    }
    // Check_自动校时 has no action of its own; it enables Command_应用 like every other
    // control, so that a change to it alone can be applied.
    SetApplyEnabled(true);
}

void Form_一般设置::ToggleCheck(CheckBox box) {
    SetCheck(box, Check(box) == 1 ? 0 : 1);
}

void Form_一般设置::Command_应用_Click() {
    ApplySettings();
}

void Form_一般设置::Command_确定_Click() {
    ApplySettings();
    Command_取消_Click();
}

void Form_一般设置::Command_取消_Click() {
    view_.HideWindow();
    view_.UnloadWindow();
}

void Form_一般设置::ShowState() {
    for (OptionGroup g : {OptionGroup::报时设置, OptionGroup::格式设置, OptionGroup::广告设置}) {
        view_.ShowOption(g, SelectedOption(g));
    }
    for (CheckBox b : {CheckBox::关闭报时, CheckBox::开机启动, CheckBox::自动校时}) {
        view_.ShowCheck(b, Check(b));
    }
    view_.ShowApplyEnabled(ApplyEnabled());
}

void Form_一般设置::Label_高级设置_Click() {
    view_.ShowAdvancedPage();
}

int Form_一般设置::SelectedOption(OptionGroup group) const {
    return selected_[Slot(group)];
}

int Form_一般设置::Check(CheckBox box) const {
    return checks_[Slot(box)];
}

// A value with no button (a hand-edited Value.ini) leaves the group with none selected and runs
// no change action; ApplySettings then keeps the value as it was.
void Form_一般设置::ShowAs(OptionGroup group, int selectedIndex) {
    if (selectedIndex >= 0 && selectedIndex < OptionCount(group)) {
        SelectOption(group, selectedIndex);
    } else if (selected_[Slot(group)] != kNoOptionSelected) {
        selected_[Slot(group)] = kNoOptionSelected;
        view_.ShowOption(group, kNoOptionSelected);
    }
}

void Form_一般设置::SetApplyEnabled(bool enabled) {
    if (applyEnabled_ != enabled) {
        applyEnabled_ = enabled;
        view_.ShowApplyEnabled(enabled);
    }
}

// The start-with-Windows switch: the registration changes at once, whatever happens to the
// dialog afterwards.
void Form_一般设置::Check_开机启动_Click() {
    const bool on = Check(CheckBox::开机启动) == 1;
    if (!SetStartEntry(s_.startStore, s_.startCommand, on)) {
        // The box goes back without running this action again, and the person hears why.
        checks_[Slot(CheckBox::开机启动)] = on ? 0 : 1;
        view_.ShowCheck(CheckBox::开机启动, on ? 0 : 1);
        s_.mainForm.StartNotChanged();
        return;
    }
    s_.settings.StartWithWindows = on ? 1 : 0;
    s_.mainForm.SetStartMenuChecked(on);
}

void Form_一般设置::ReadSelection(OptionGroup group, std::int32_t& value) const {
    const int selected = SelectedOption(group);
    if (selected != kNoOptionSelected) {
        value = selected;
    }
}

}  // namespace horalia
