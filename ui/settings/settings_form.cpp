#include "ui/settings/settings_form.h"

#include <array>

namespace horalia {
namespace {

using form::Control;
using form::Cursor;
using form::Inside;
using form::Kind;
using form::Rect;

constexpr int kFirstOptionId = 1100;  // + 10 x group + index
constexpr int kFirstCheckId = 1200;   // + box
constexpr int kFirstFrameId = 1300;

constexpr int OptionId(OptionGroup group, int index) {
    return kFirstOptionId + 10 * static_cast<int>(group) + index;
}
constexpr int CheckId(CheckBox box) {
    return kFirstCheckId + static_cast<int>(box);
}

constexpr Rect kFrequencyFrame{30, 30, 2805, 1185};
constexpr Rect kFormatFrame{2880, 30, 2805, 1185};
constexpr Rect kAdFrame{30, 1260, 2805, 1305};
constexpr Rect kAdvancedFrame{2880, 1260, 2805, 1305};

constexpr Control Make(Kind kind, int id, std::string_view name, std::string_view caption,
                       const Rect& rect, int tabIndex) {
    return form::MakeControl(kind, id, name, caption, rect, tabIndex);
}

constexpr Control Option(OptionGroup group, int index, std::string_view name,
                         std::string_view caption, const Rect& frame, Rect rect, int tabIndex) {
    Control control = Make(Kind::OptionButton, OptionId(group, index), name, caption,
                           Inside(frame, rect), tabIndex);
    control.optionGroup = 1 + static_cast<int>(group);
    return control;
}

constexpr Control Check(CheckBox box, std::string_view name, std::string_view caption, int top,
                        int tabIndex, std::string_view toolTip = {}) {
    Control control = Make(Kind::CheckBox, CheckId(box), name, caption,
                           Inside(kAdvancedFrame, {210, top, 2445, 195}), tabIndex);
    control.toolTip = toolTip;
    return control;
}

constexpr Control Frame(int index, std::string_view name, std::string_view caption,
                        const Rect& rect, int tabIndex) {
    return Make(Kind::GroupBox, kFirstFrameId + index, name, caption, rect, tabIndex);
}

constexpr Control Button(int id, std::string_view name, std::string_view caption, int left,
                         int tabIndex) {
    Control control = Make(Kind::PushButton, id, name, caption, {left, 2640, 990, 360}, tabIndex);
    control.isDefault = id == kOkControlId;
    control.enabled = id != kApplyControlId;  // until something changes
    return control;
}

// Blue, with a hand cursor, as a link looks.
constexpr Control LinkLabel(int id, std::string_view name, std::string_view caption,
                            const Rect& rect, int tabIndex) {
    Control control = Make(Kind::Label, id, name, caption, rect, tabIndex);
    control.textColour = form::Rgb{0, 0, 255};
    control.cursor = Cursor::Hand;
    return control;
}

constexpr OptionGroup kFrequency = OptionGroup::报时设置;
constexpr OptionGroup kFormat = OptionGroup::格式设置;
constexpr OptionGroup kAd = OptionGroup::广告设置;

constexpr std::array kControls{
    Frame(0, "GroupBox_报时设置", "报时频率", kFrequencyFrame, 16),
    Option(kFrequency, 0, "Option_报时设置_0", "整点报时", kFrequencyFrame, {255, 240, 2235, 255},
           3),
    Option(kFrequency, 1, "Option_报时设置_1", "两时报时", kFrequencyFrame, {255, 570, 2235, 255},
           4),
    Option(kFrequency, 2, "Option_报时设置_2", "六时报时", kFrequencyFrame, {255, 900, 2235, 255},
           5),
    Frame(1, "GroupBox_格式设置", "报时格式", kFormatFrame, 17),
    Option(kFormat, 0, "Option_格式设置_0", "仅报时间", kFormatFrame, {255, 240, 2235, 255}, 6),
    Option(kFormat, 1, "Option_格式设置_1", "报年月日", kFormatFrame, {255, 570, 2235, 255}, 7),
    Option(kFormat, 2, "Option_格式设置_2", "播放全部", kFormatFrame, {255, 900, 2235, 255}, 8),
    Frame(2, "GroupBox_广告设置", "广告设置", kAdFrame, 14),
    Option(kAd, 0, "Option_广告设置_0", "开启显示一次", kAdFrame, {210, 330, 2235, 255}, 9),
    Option(kAd, 1, "Option_广告设置_1", "一天显示一次", kAdFrame, {210, 660, 2235, 255}, 10),
    Frame(3, "GroupBox_高级设置", "扩展设置", kAdvancedFrame, 13),
    Check(CheckBox::关闭报时, "Check_关闭报时", "关闭报时", 330, 11),
    Check(CheckBox::开机启动, "Check_开机启动", "开机启动", 660, 12,
          "开机自动启动程序，不需要可以不开启，开启会被杀毒软件拦截允许即可"),
    Check(CheckBox::自动校时, "Check_自动校时", "自动网络校时", 990, 18,
          "用于自己电脑时间不准的用户，进行每小时最懂校准时间"),
    Button(kOkControlId, "Command_确定", "确定[&E]", 2400, 0),
    Button(kCancelControlId, "Command_取消", "取消[&C]", 3540, 1),
    Button(kApplyControlId, "Command_应用", "应用[&A]", 4680, 2),
    LinkLabel(kAdvancedLabelId, "Label_高级设置", "切换到高级设置", {150, 2730, 1260, 195}, 15),
};

constexpr form::Form kForm{"Horalia设置", 5730, 3060, 8.25, kControls};

}  // namespace

int OptionControlId(OptionGroup group, int index) {
    return OptionId(group, index);
}

int CheckControlId(CheckBox box) {
    return CheckId(box);
}

const form::Form& SettingsForm() {
    return kForm;
}

void ClickSettingsControl(Form_一般设置& presenter, int id) {
    switch (id) {
        case kOkControlId:
            return presenter.Command_确定_Click();
        case kCancelControlId:
            return presenter.Command_取消_Click();
        case kApplyControlId:
            return presenter.Command_应用_Click();
        case kAdvancedLabelId:
            return presenter.Label_高级设置_Click();
        default:
            break;
    }
    for (CheckBox box : {CheckBox::关闭报时, CheckBox::开机启动, CheckBox::自动校时}) {
        if (id == CheckId(box)) {
            return presenter.ToggleCheck(box);
        }
    }
    for (OptionGroup group : {kFrequency, kFormat, kAd}) {
        for (int i = 0; i < OptionCount(group); ++i) {
            if (id == OptionId(group, i)) {
                return presenter.SelectOption(group, i);
            }
        }
    }
}

}  // namespace horalia
