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
constexpr int kFirstOptionId = 1570;  // + index

constexpr int CheckId(AdvancedCheck box) {
    return kFirstCheckId + static_cast<int>(box);
}
constexpr int TextId(AdvancedText field) {
    return kFirstTextId + static_cast<int>(field);
}

constexpr Rect kAnnounceFrame{30, 30, 5670, 2175};
constexpr Rect kSoundFrame{30, 2280, 5670, 1140};

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

constexpr Control HalfHourOption(int index, std::string_view name, std::string_view caption,
                                 int left, int width) {
    Control control = Make(Kind::OptionButton, kFirstOptionId + index, name, caption,
                           Inside(kAnnounceFrame, {left, 690, width, 255}), 3 + index);
    control.optionGroup = 1;
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
    Control control = Make(Kind::PushButton, id, name, caption, {left, 3510, 990, 360}, tabIndex);
    control.isDefault = id == kOkControlId;
    control.enabled = id != kApplyControlId;  // until something changes
    return control;
}

constexpr std::array kControls{
    Check(AdvancedCheck::免打扰, "Check_免打扰", "免打扰时段", {210, 300, 1275, 255}, 0,
          "这段时间里不自动报时；单击托盘图标仍会报时"),
    Edit(AdvancedText::免打扰开始, "Text_免打扰开始", kAnnounceFrame, {1530, 270, 780, 315}, 1),
    Label(0, "Label_至", "至", kAnnounceFrame, {2400, 300, 270, 255}, 15),
    Edit(AdvancedText::免打扰结束, "Text_免打扰结束", kAnnounceFrame, {2700, 270, 780, 315}, 2),
    Hint(1, "Label_时段说明", "时:分，可跨过午夜", kAnnounceFrame, {3600, 300, 1950, 255}, 16),
    Label(4, "Label_半点报时", "半点报时", kAnnounceFrame, {210, 690, 1275, 255}, 17),
    HalfHourOption(0, "Option_半点报时_0", "不报", 1530, 900),
    HalfHourOption(1, "Option_半点报时_1", "半点", 2520, 900),
    HalfHourOption(2, "Option_半点报时_2", "每刻钟", 3510, 1200),
    Check(AdvancedCheck::自然读法, "Check_自然读法", "自然读法", {210, 1050, 2445, 255}, 6,
          "按平常的说法报时，例如“晚上九点零五分”“两点整”"),
    Check(AdvancedCheck::勿扰检测, "Check_勿扰检测", "全屏或勿扰时不自动报时",
          {210, 1410, 5250, 255}, 7,
          "有程序全屏、正在演示或桌面处于勿扰状态时跳过自动报时；单击托盘图标和热键仍会报时"),
    Label(5, "Label_报时热键", "报时热键", kAnnounceFrame, {210, 1800, 1275, 255}, 18),
    Make(Kind::HotkeyBox, TextId(AdvancedText::报时热键), "Text_报时热键", "",
         Inside(kAnnounceFrame, {1530, 1770, 1950, 315}), 8,
         "在任何地方按下这组键都会报时；在框中按下新的组合键即可更改，按退格键清除"),
    Hint(kHotkeyNoteId - kFirstLabelId, "Label_热键状态", "", kAnnounceFrame,
         {3600, 1800, 1950, 255}, 19),
    Label(2, "Label_音量", "音量", kSoundFrame, {210, 345, 960, 255}, 20),
    VolumeSlider(9),
    Make(Kind::Label, kVolumeValueId, "Label_音量值", "100%",
         Inside(kSoundFrame, {4770, 345, 750, 255}), 21),
    Label(3, "Label_语音目录", "语音目录", kSoundFrame, {210, 765, 960, 255}, 22),
    Edit(AdvancedText::语音目录, "Text_语音目录", kSoundFrame, {1200, 720, 3480, 315}, 10,
         "另一套语音的文件夹，文件名与程序自带的相同；留空或缺少的语音用程序自带的"),
    Make(Kind::PushButton, kBrowseControlId, "Command_浏览", "浏览…",
         Inside(kSoundFrame, {4770, 705, 780, 345}), 11),
    Make(Kind::GroupBox, kFirstFrameId, "GroupBox_报时", "报时", kAnnounceFrame, 23),
    Make(Kind::GroupBox, kFirstFrameId + 1, "GroupBox_声音", "声音", kSoundFrame, 24),
    Button(kOkControlId, "Command_确定", "确定[&E]", 2400, 12),
    Button(kCancelControlId, "Command_取消", "取消[&C]", 3540, 13),
    Button(kApplyControlId, "Command_应用", "应用[&A]", 4680, 14),
};

constexpr form::Form kForm{"高级设置", 5730, 3960, 8.25, kControls};

}  // namespace

int AdvancedCheckControlId(AdvancedCheck box) {
    return CheckId(box);
}

int AdvancedTextControlId(AdvancedText field) {
    return TextId(field);
}

int HalfHourOptionControlId(int index) {
    return kFirstOptionId + index;
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
    for (AdvancedCheck box : kAdvancedChecks) {
        if (id == CheckId(box)) {
            return presenter.ToggleCheck(box);
        }
    }
    if (id >= kFirstOptionId && id < kFirstOptionId + kHalfHourOptionCount) {
        presenter.SelectHalfHour(id - kFirstOptionId);
    }
}

void EditAdvancedControl(Form_高级设置& presenter, int id, std::string_view text) {
    for (AdvancedText field : kAdvancedTexts) {
        if (id == TextId(field)) {
            return presenter.SetText(field, std::string(text));
        }
    }
}

}  // namespace horalia
