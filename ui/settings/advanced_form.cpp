#include "ui/settings/advanced_form.h"

#include <array>

#include "ui/settings/settings_form.h"

namespace horalia {
namespace {

using form::Control;
using form::Inside;
using form::Kind;
using form::Rect;

constexpr int kFirstCheckId = 1530;  // + box
constexpr int kFirstTextId = 1540;   // + field
constexpr int kFirstLabelId = 1550;
constexpr int kFirstFrameId = 1560;

constexpr int CheckId(AdvancedCheck box) {
    return kFirstCheckId + static_cast<int>(box);
}
constexpr int TextId(AdvancedText field) {
    return kFirstTextId + static_cast<int>(field);
}

constexpr Rect kAnnounceFrame{30, 30, 5670, 1455};
constexpr Rect kSoundFrame{30, 1560, 5670, 1140};

constexpr Control Make(Kind kind, int id, std::string_view name, std::string_view caption,
                       const Rect& rect, int tabIndex, std::string_view toolTip = {}) {
    Control control = form::MakeControl(kind, id, name, caption, rect, tabIndex);
    control.toolTip = toolTip;
    return control;
}

constexpr Control Check(AdvancedCheck box, std::string_view name, std::string_view caption,
                        const Rect& rect, int tabIndex, std::string_view toolTip) {
    return Make(Kind::CheckBox, CheckId(box), name, caption, Inside(kAnnounceFrame, rect), tabIndex,
                toolTip);
}

constexpr Control Edit(AdvancedText field, std::string_view name, const Rect& frame,
                       const Rect& rect, int tabIndex, std::string_view toolTip = {}) {
    return Make(Kind::EditBox, TextId(field), name, "", Inside(frame, rect), tabIndex, toolTip);
}

constexpr Control Label(int index, std::string_view name, std::string_view caption,
                        const Rect& frame, const Rect& rect, int tabIndex) {
    return Make(Kind::Label, kFirstLabelId + index, name, caption, Inside(frame, rect), tabIndex);
}

constexpr Control Hint(int index, std::string_view name, std::string_view caption,
                       const Rect& frame, const Rect& rect, int tabIndex) {
    Control control = Label(index, name, caption, frame, rect, tabIndex);
    control.textColour = form::Rgb{96, 96, 96};
    return control;
}

constexpr Control VolumeSlider(int tabIndex) {
    Control control = Make(Kind::Slider, kVolumeSliderId, "Slider_音量", "",
                           Inside(kSoundFrame, {1200, 255, 3480, 420}), tabIndex);
    control.minimum = 0;
    control.maximum = kFullVolume;
    return control;
}

constexpr Control Button(int id, std::string_view name, std::string_view caption, int left,
                         int tabIndex) {
    Control control = Make(Kind::PushButton, id, name, caption, {left, 2790, 990, 360}, tabIndex);
    control.isDefault = id == kOkControlId;
    control.enabled = id != kApplyControlId;  // until something changes
    return control;
}

constexpr std::array kControls{
    Check(AdvancedCheck::免打扰, "Check_免打扰", "免打扰时段", {210, 300, 1275, 255}, 0,
          "这段时间里不自动报时；单击托盘图标仍会报时"),
    Edit(AdvancedText::免打扰开始, "Text_免打扰开始", kAnnounceFrame, {1530, 270, 780, 315}, 1),
    Label(0, "Label_至", "至", kAnnounceFrame, {2400, 300, 270, 255}, 11),
    Edit(AdvancedText::免打扰结束, "Text_免打扰结束", kAnnounceFrame, {2700, 270, 780, 315}, 2),
    Hint(1, "Label_时段说明", "时:分，可跨过午夜", kAnnounceFrame, {3600, 300, 1950, 255}, 12),
    Check(AdvancedCheck::半点报时, "Check_半点报时", "半点报时", {210, 690, 2445, 255}, 3,
          "整点报时之后，半点再报一次"),
    Check(AdvancedCheck::自然读法, "Check_自然读法", "自然读法", {210, 1050, 2445, 255}, 4,
          "按平常的说法报时，例如“晚上九点零五分”“两点整”"),
    Label(2, "Label_音量", "音量", kSoundFrame, {210, 345, 960, 255}, 13),
    VolumeSlider(5),
    Make(Kind::Label, kVolumeValueId, "Label_音量值", "100%",
         Inside(kSoundFrame, {4770, 345, 750, 255}), 14),
    Label(3, "Label_语音目录", "语音目录", kSoundFrame, {210, 765, 960, 255}, 15),
    Edit(AdvancedText::语音目录, "Text_语音目录", kSoundFrame, {1200, 720, 3480, 315}, 6,
         "另一套语音的文件夹，文件名与程序自带的相同；留空或缺少的语音用程序自带的"),
    Make(Kind::PushButton, kBrowseControlId, "Command_浏览", "浏览…",
         Inside(kSoundFrame, {4770, 705, 780, 345}), 7),
    Make(Kind::GroupBox, kFirstFrameId, "GroupBox_报时", "报时", kAnnounceFrame, 16),
    Make(Kind::GroupBox, kFirstFrameId + 1, "GroupBox_声音", "声音", kSoundFrame, 17),
    Button(kOkControlId, "Command_确定", "确定[&E]", 2400, 8),
    Button(kCancelControlId, "Command_取消", "取消[&C]", 3540, 9),
    Button(kApplyControlId, "Command_应用", "应用[&A]", 4680, 10),
};

constexpr form::Form kForm{"高级设置", 5730, 3240, 8.25, kControls};

}  // namespace

int AdvancedCheckControlId(AdvancedCheck box) {
    return CheckId(box);
}

int AdvancedTextControlId(AdvancedText field) {
    return TextId(field);
}

const form::Form& AdvancedForm() {
    return kForm;
}

std::string VolumeText(int volume) {
    return std::to_string(volume) + "%";
}

void ClickAdvancedControl(Form_高级设置& presenter, int id) {
    switch (id) {
        case kOkControlId:
            return presenter.Command_确定_Click();
        case kCancelControlId:
            return presenter.Command_取消_Click();
        case kApplyControlId:
            return presenter.Command_应用_Click();
        case kBrowseControlId:
            return presenter.Command_浏览_Click();
        default:
            break;
    }
    for (AdvancedCheck box :
         {AdvancedCheck::免打扰, AdvancedCheck::半点报时, AdvancedCheck::自然读法}) {
        if (id == CheckId(box)) {
            return presenter.ToggleCheck(box);
        }
    }
}

void EditAdvancedControl(Form_高级设置& presenter, int id, std::string_view text) {
    for (AdvancedText field :
         {AdvancedText::免打扰开始, AdvancedText::免打扰结束, AdvancedText::语音目录}) {
        if (id == TextId(field)) {
            return presenter.SetText(field, std::string(text));
        }
    }
}

}  // namespace horalia
