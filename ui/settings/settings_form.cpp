#include "ui/settings/settings_form.h"

#include <array>

#include "ui/settings/page_layout.h"
#include "ui/settings/settings_page.h"

namespace horalia {
namespace {

using form::Control;
using form::Kind;
using form::Rect;

constexpr Control Button(int id, std::string_view name, std::string_view caption, int left,
                         int top) {
    Control control =
        form::MakeControl(Kind::PushButton, id, name, caption, {left, top, 990, 360}, 0);
    control.isDefault = id == kOkControlId;
    control.enabled = id != kApplyControlId;  // until something changes
    return control;
}

constexpr Control Frame(int id, std::string_view name, std::string_view caption, const Rect& rect) {
    return form::MakeControl(Kind::GroupBox, id, name, caption, rect, 0);
}

// Form_一般设置: four frames above 确定, 取消 and 应用; Tab starts at the buttons.
constexpr Rect kFrequencyFrame{30, 30, 2805, 1185};
constexpr Rect kFormatFrame{2880, 30, 2805, 1185};
constexpr Rect kAdFrame{30, 1260, 2805, 1305};
constexpr Rect kFurtherFrame{2880, 1260, 2805, 1305};

constexpr Place Framed(std::string_view key, std::string_view frameName, const Rect& frame,
                       int left, int top) {
    return Place{key,
                 frame,
                 {Rect{}, Rect{left, top, 2235, 255}, Rect{left, top + 330, 2235, 255},
                  Rect{left, top + 660, 2235, 255}},
                 frameName};
}

constexpr Place FurtherCheck(std::string_view key, int top) {
    return Place{key, kFurtherFrame, {Rect{210, top, 2445, 195}}};
}

// Blue, with a hand cursor, as a link looks.
constexpr Control AdvancedLink() {
    Control control = form::MakeControl(Kind::Link, kAdvancedLabelId, "Label_高级设置",
                                        "切换到高级设置", {150, 2730, 1260, 195}, 0);
    control.textColour = form::Rgb{0, 0, 255};
    control.cursor = form::Cursor::Hand;
    return control;
}

constexpr std::array kBasicButtons{
    Button(kOkControlId, "Command_确定", "确定[&E]", 2400, 2640),
    Button(kCancelControlId, "Command_取消", "取消[&C]", 3540, 2640),
    Button(kApplyControlId, "Command_应用", "应用[&A]", 4680, 2640),
};
constexpr std::array kBasicPlaces{
    Framed("报时设置", "GroupBox_报时设置", kFrequencyFrame, 255, 240),
    Framed("格式设置", "GroupBox_格式设置", kFormatFrame, 255, 240),
    Framed("广告设置", "GroupBox_广告设置", kAdFrame, 210, 330),
    FurtherCheck("关闭报时", 330),
    FurtherCheck("开机启动", 660),
    FurtherCheck("自动校时", 990),
};
constexpr std::array kBasicFixed{
    AdvancedLink(),
    Frame(1300, "GroupBox_高级设置", "扩展设置", kFurtherFrame),
};

// Form_高级设置: the announcement's settings in one frame, the sound's in another, the buttons
// below; Tab starts at the first setting.
constexpr Rect kAnnounceFrame{30, 30, 5670, 2895};
constexpr Rect kSoundFrame{30, 3000, 5670, 1140};

// 报时间隔's six options in a row after its label: 不设, then the minutes.
constexpr Place IntervalOptions(std::string_view key, int top) {
    Place place{key, kAnnounceFrame, {Rect{210, top, 1275, 255}, Rect{1530, top, 780, 255}}};
    for (int i = 0; i < 5; ++i) {
        place.parts[static_cast<std::size_t>(i) + 2] = Rect{2340 + 630 * i, top, 600, 255};
    }
    return place;
}

constexpr std::array kAdvancedPlaces{
    Place{"免打扰",
          kAnnounceFrame,
          {Rect{210, 300, 1275, 255}, Rect{1530, 270, 2400, 315}, Rect{4020, 300, 1530, 255}}},
    Place{"半点报时",
          kAnnounceFrame,
          {Rect{210, 690, 1275, 255}, Rect{1530, 690, 900, 255}, Rect{2520, 690, 900, 255},
           Rect{3510, 690, 1200, 255}}},
    IntervalOptions("报时间隔", 1050),
    Place{"报时日",
          kAnnounceFrame,
          {Rect{210, 1440, 1275, 255}, Rect{1530, 1410, 1950, 315}, Rect{3600, 1440, 1950, 255}}},
    Place{"自然读法", kAnnounceFrame, {Rect{210, 1800, 2445, 255}}},
    Place{"勿扰检测", kAnnounceFrame, {Rect{210, 2160, 5250, 255}}},
    Place{"报时热键",
          kAnnounceFrame,
          {Rect{210, 2520, 1275, 255}, Rect{1530, 2490, 1950, 315}, Rect{3600, 2520, 1950, 255}}},
    Place{"音量",
          kSoundFrame,
          {Rect{210, 345, 960, 255}, Rect{1200, 255, 3480, 420}, Rect{4770, 345, 750, 255}}},
    Place{"语音目录",
          kSoundFrame,
          {Rect{210, 765, 960, 255}, Rect{1200, 720, 3480, 315}, Rect{4770, 705, 780, 345}}},
};
constexpr std::array kAdvancedFixed{
    Button(kOkControlId, "Command_确定", "确定[&E]", 2400, 4230),
    Button(kCancelControlId, "Command_取消", "取消[&C]", 3540, 4230),
    Button(kApplyControlId, "Command_应用", "应用[&A]", 4680, 4230),
    Frame(1560, "GroupBox_报时", "报时", kAnnounceFrame),
    Frame(1561, "GroupBox_声音", "声音", kSoundFrame),
};

}  // namespace

const form::Form& SettingsForm() {
    static const PageForm page(SettingsPage::kBasic,
                               PageLayout{"Horalia设置", 5730, 3060, kBasicButtons, kBasicPlaces,
                                          kBasicFixed, kFurtherFrame, 1320, 330});
    return page.Form();
}

const form::Form& AdvancedForm() {
    static const PageForm page(SettingsPage::kAdvanced, PageLayout{"高级设置",
                                                                   5730,
                                                                   4680,
                                                                   {},
                                                                   kAdvancedPlaces,
                                                                   kAdvancedFixed,
                                                                   kAnnounceFrame,
                                                                   2880,
                                                                   360});
    return page.Form();
}

}  // namespace horalia
