#include "ui/settings/page_layout.h"

#include <algorithm>

#include "ui/settings/settings_page.h"

namespace horalia {
namespace {

using form::Kind;
using form::Rect;

constexpr form::Rgb kHintGrey{96, 96, 96};

const Place* PlaceOf(const PageLayout& layout, std::string_view key) {
    const auto found = std::find_if(layout.places.begin(), layout.places.end(),
                                    [&](const Place& place) { return place.key == key; });
    return found == layout.places.end() ? nullptr : &*found;
}

bool HasControl(const SettingRow& row, SettingsPage page) {
    return row.page == page && row.control.kind != ControlKind::kNone;
}

// A line of its own at `top` inside the frame: a label, the field beside it, then what follows
// the field; a check box or a time list's switch takes the label's place.
Place LineOf(const SettingRow& row, const Rect& frame, int top) {
    Place place{row.key, frame};
    const Rect label{210, top, 1275, 255};
    const Rect field{1530, top - 30, 1950, 315};
    const Rect after{3600, top, std::max(0, frame.width - 3810), 255};
    switch (row.control.kind) {
        case ControlKind::kCheck:
            place.parts = {Rect{210, top, frame.width - 420, 255}};
            break;
        case ControlKind::kOptions:
            place.parts[0] = label;
            for (std::size_t i = 0; i + 1 < place.parts.size(); ++i) {
                place.parts[i + 1] = {1530 + 990 * static_cast<int>(i), top, 900, 255};
            }
            break;
        case ControlKind::kTimeList:
            place.parts = {label, field, after};
            break;
        case ControlKind::kText:  // a text takes the line's whole width
            place.parts = {label, Rect{1530, top - 30, std::max(0, frame.width - 1740), 315}};
            break;
        default:
            place.parts = {label, field, after};
            break;
    }
    return place;
}

}  // namespace

PageForm::PageForm(SettingsPage page, const PageLayout& layout) {
    const auto& rows = SettingsTable();
    const int unplaced = static_cast<int>(std::count_if(rows.begin(), rows.end(), [&](auto& row) {
        return HasControl(row, page) && PlaceOf(layout, row.key) == nullptr;
    }));
    const int extra = unplaced * layout.linePitch;
    const Rect grow = layout.growFrame;
    // What lies below the growing frame moves down with the page; the frame grows.
    const auto moved = [&](Rect rect) {
        if (rect == grow) {
            rect.height += extra;
        } else if (rect.top >= grow.top + grow.height) {
            rect.top += extra;
        }
        return rect;
    };
    const auto addFixed = [&](const form::Control& fixed) {
        form::Control control = fixed;
        control.rect = moved(control.rect);
        (control.kind == Kind::GroupBox ? frames_ : controls_).push_back(control);
    };

    std::for_each(layout.leading.begin(), layout.leading.end(), addFixed);
    int nextTop = layout.nextLineTop;
    for (const SettingRow& row : rows) {
        if (!HasControl(row, page)) {
            continue;
        }
        if (const Place* place = PlaceOf(layout, row.key)) {
            Place shifted = *place;
            shifted.frame = moved(place->frame);
            AddSetting(row, shifted);
        } else {
            AddSetting(row, LineOf(row, grow, nextTop));
            nextTop += layout.linePitch;
        }
    }
    std::for_each(layout.trailing.begin(), layout.trailing.end(), addFixed);

    // Frames take no focus and lie below what they hold: last.
    controls_.insert(controls_.end(), frames_.begin(), frames_.end());
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        controls_[i].tabIndex = static_cast<int>(i);
    }
    form_ = form::Form{layout.caption, layout.clientWidth, layout.clientHeight + extra, 8.25,
                       controls_};
}

void PageForm::AddSetting(const SettingRow& row, const Place& place) {
    const SettingControl& c = row.control;
    const std::string key = row.key;
    const auto at = [&](std::size_t part) { return form::Inside(place.frame, place.parts[part]); };
    const auto id = [&](int part) { return SettingControlId(key, part); };
    const auto label = [&] {
        Add(Kind::Label, id(kCaptionPart), "Label_" + key, c.caption, at(0));
    };
    switch (c.kind) {
        case ControlKind::kCheck:
            Add(Kind::CheckBox, id(0), "Check_" + key, c.caption, at(0)).toolTip = c.toolTip;
            break;
        case ControlKind::kOptions: {
            if (place.frameName.empty()) {
                label();
            } else {
                frames_.push_back(form::MakeControl(Kind::GroupBox, id(kCaptionPart),
                                                    place.frameName, c.caption, place.frame, 0));
            }
            const int group = 1 + static_cast<int>(&row - SettingsTable().data());
            for (std::size_t i = 0; i < c.choices.size() && i + 1 < place.parts.size(); ++i) {
                const int part = static_cast<int>(i);
                Add(Kind::OptionButton, id(part), "Option_" + key + "_" + std::to_string(i),
                    c.choices[i], at(i + 1))
                    .optionGroup = group;
            }
            break;
        }
        case ControlKind::kNumber: {
            label();
            form::Control& slider = Add(Kind::Slider, id(0), "Slider_" + key, "", at(1));
            slider.minimum = c.minimum;
            slider.maximum = c.maximum;
            Add(Kind::Label, id(kValueLabelPart), "Label_" + key + "值",
                std::string(row.defaultText) + c.unit, at(2));
            break;
        }
        case ControlKind::kTimeList:
            Add(Kind::CheckBox, id(0), "Check_" + key, c.caption, at(0)).toolTip = c.toolTip;
            // The box follows the switch, not a label: it is named after the setting.
            {
                form::Control& box = Add(Kind::EditBox, id(kPeriodsPart), "Text_" + key, "", at(1));
                box.toolTip = c.toolTip;
                box.accessibleName = Keep(std::string(c.caption));
            }
            Add(Kind::Label, id(kHintPart), "Label_" + key + "说明", c.hint, at(2)).textColour =
                kHintGrey;
            break;
        case ControlKind::kHotkey:
            label();
            Add(Kind::HotkeyBox, id(0), "Text_" + key, "", at(1)).toolTip = c.toolTip;
            Add(Kind::Label, id(kNotePart), "Label_" + key + "状态", "", at(2)).textColour =
                kHintGrey;
            break;
        case ControlKind::kFolder:
            label();
            Add(Kind::EditBox, id(0), "Text_" + key, "", at(1)).toolTip = c.toolTip;
            Add(Kind::PushButton, id(kBrowsePart), "Command_浏览", "浏览…", at(2));
            break;
        case ControlKind::kText:
            label();
            Add(Kind::EditBox, id(0), "Text_" + key, "", at(1)).toolTip = c.toolTip;
            if (*c.hint != '\0') {
                Add(Kind::Label, id(kHintPart), "Label_" + key + "说明", c.hint, at(2)).textColour =
                    kHintGrey;
            }
            break;
        case ControlKind::kNone:
            break;
    }
}

form::Control& PageForm::Add(Kind kind, int id, std::string name, std::string caption,
                             const Rect& rect) {
    controls_.push_back(
        form::MakeControl(kind, id, Keep(std::move(name)), Keep(std::move(caption)), rect, 0));
    return controls_.back();
}

std::string_view PageForm::Keep(std::string text) {
    return texts_.emplace_back(std::move(text));
}

}  // namespace horalia
