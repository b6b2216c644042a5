// The windows of Form_一般设置 and its advanced page as data, for the toolkit builders: where
// each page puts its settings' controls, and its frames and buttons.
#pragma once

#include "common/form/form.h"

namespace horalia {

const form::Form& SettingsForm();
const form::Form& AdvancedForm();

}  // namespace horalia
