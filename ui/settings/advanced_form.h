// Form_高级设置 as data: the advanced page's controls for the toolkit builders, and the ids their
// events carry back to the presenter. 确定, 取消 and 应用 have the main page's ids.
#pragma once

#include <string>
#include <string_view>

#include "common/form/form.h"
#include "ui/settings/advanced_presenter.h"

namespace horalia {

inline constexpr int kBrowseControlId = 1510;
inline constexpr int kVolumeSliderId = 1520;
inline constexpr int kVolumeValueId = 1521;  // the label beside the slider
inline constexpr int kHotkeyNoteId = 1556;   // the label beside the hotkey box

int AdvancedCheckControlId(AdvancedCheck box);
int AdvancedTextControlId(AdvancedText field);
int HalfHourOptionControlId(int index);

const form::Form& AdvancedForm();

// The label beside the volume slider.
std::string VolumeText(int volume);

// What a click on the control with this id does to the presenter; nothing for an unknown id.
void ClickAdvancedControl(Form_高级设置& presenter, int id);
// The text of the edit box with this id was changed by the person; nothing for another id.
void EditAdvancedControl(Form_高级设置& presenter, int id, std::string_view text);

}  // namespace horalia
