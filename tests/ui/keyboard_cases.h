// The keyboard alone on both settings pages, one table for both toolkits: each row opens a page
// afresh, clicks `change` (which enables 应用), puts the focus on a control and presses keys, as a
// person does; then looks where the focus is and whether a page opened or closed.
#pragma once

#include <vector>

#include "ui/settings/settings_page.h"

namespace horalia {

enum class Key { kTab, kBackTab, kSpace, kReturn, kEscape };

struct KeyboardCase {
    bool advanced;  // on the advanced page, else on the settings dialog
    int change;     // a control's id; 0: none
    int focus;
    std::vector<Key> keys;
    int focusAfter;  // 0: not looked at
    enum { kStays, kPageOpens, kCloses } outcome;
};

inline std::vector<KeyboardCase> KeyboardCases() {
    using K = KeyboardCase;
    const int sync = SettingControlId("自动校时");
    const int off = SettingControlId("关闭报时");
    const int natural = SettingControlId("自然读法");
    const int link = kAdvancedLabelId, ok = kOkControlId, apply = kApplyControlId;
    return {
        {false, 0, sync, {Key::kTab}, link, K::kStays},
        {false, 0, link, {Key::kTab}, ok, K::kStays},
        {false, 0, ok, {Key::kBackTab}, link, K::kStays},
        {false, 0, link, {Key::kSpace}, 0, K::kPageOpens},
        {false, 0, link, {Key::kReturn}, 0, K::kPageOpens},
        {false, off, apply, {Key::kSpace}, ok, K::kStays},
        {false, off, apply, {Key::kSpace, Key::kTab}, kCancelControlId, K::kStays},
        {false, off, apply, {Key::kSpace, Key::kReturn}, 0, K::kCloses},
        {false, off, apply, {Key::kSpace, Key::kEscape}, 0, K::kCloses},
        {true, natural, apply, {Key::kSpace}, ok, K::kStays},
        {true, natural, apply, {Key::kSpace, Key::kReturn}, 0, K::kCloses},
        {true, natural, apply, {Key::kSpace, Key::kEscape}, 0, K::kCloses},
        {true, 0, natural, {Key::kReturn}, 0, K::kCloses},
    };
}

}  // namespace horalia
