// Form_一般设置 as data: the settings dialog's controls for the toolkit builders, and the ids
// their events carry back to the presenter.
#pragma once

#include "common/form/form.h"
#include "ui/settings/settings_presenter.h"

namespace horalia {

// Enter and Esc reach these ids on every toolkit (Windows' IDOK and IDCANCEL).
inline constexpr int kOkControlId = 1;
inline constexpr int kCancelControlId = 2;
inline constexpr int kApplyControlId = 1003;
inline constexpr int kAdvancedLabelId = 1400;

int OptionControlId(OptionGroup group, int index);
int CheckControlId(CheckBox box);

const form::Form& SettingsForm();

// What a click on the control with this id does to the presenter; nothing for an unknown id.
void ClickSettingsControl(Form_一般设置& presenter, int id);

}  // namespace horalia
