#include "config/settings.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "common/trim.h"
#include "config/ini_document.h"
#include "config/ini_file.h"
#include "config/quiet_periods.h"
#include "config/start_with_system.h"

namespace horalia {
namespace {

// The numbers of the basic page are read as GetPrivateProfileInt reads them (the leading
// integer); a value outside the range its control offers is the key's default, for every reader
// alike: 报时设置 0..2, 格式设置 0..3 (3 is the chime alone), 广告设置 0..2 (2: never),
// 关闭报时 and 自动校时 0..1.
std::int32_t LeadingNumberIn(std::string_view text, std::int32_t high) {
    const std::int32_t value = ini::LeadingInteger(text);
    return (value >= 0 && value <= high) ? value : 0;
}

// Plain decimal digits (blanks around them allowed) within [low, high]; nothing otherwise.
std::optional<std::int32_t> NumberIn(std::string_view text, std::int32_t low, std::int32_t high) {
    text = Trimmed(text);
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.front() == '-' ||
        value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::string TwoDigits(int value) {
    return std::string{static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

}  // namespace

bool QuietPeriod::Contains(int minuteOfDay) const {
    if (startMinute <= endMinute) {
        return minuteOfDay >= startMinute && minuteOfDay < endMinute;
    }
    return minuteOfDay >= startMinute || minuteOfDay < endMinute;  // across midnight
}

std::optional<int> ParseTimeOfDay(std::string_view text) {
    text = Trimmed(text);
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2 || text.size() - colon != 3) {
        return std::nullopt;
    }
    const auto hour = NumberIn(text.substr(0, colon), 0, 23);
    const auto minute = NumberIn(text.substr(colon + 1), 0, 59);
    if (!hour || !minute || text[colon + 1] == ' ') {
        return std::nullopt;
    }
    return *hour * 60 + *minute;
}

std::optional<QuietPeriod> ParseQuietPeriod(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        return std::nullopt;
    }
    const auto start = ParseTimeOfDay(text.substr(0, dash));
    const auto end = ParseTimeOfDay(text.substr(dash + 1));
    if (!start || !end || *start == *end) {
        return std::nullopt;
    }
    return QuietPeriod{*start, *end};
}

std::string FormatTimeOfDay(int minuteOfDay) {
    return TwoDigits(minuteOfDay / 60) + ":" + TwoDigits(minuteOfDay % 60);
}

std::string FormatQuietPeriod(const QuietPeriod& quiet) {
    return FormatTimeOfDay(quiet.startMinute) + "-" + FormatTimeOfDay(quiet.endMinute);
}

namespace {

// At most `bytes` bytes of UTF-8 text, never half a character: "yyyy|mm|dd" and a little more.
std::string FirstCharacters(std::string_view text, std::size_t bytes) {
    std::size_t end = std::min(bytes, text.size());
    while (end > 0 && end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return std::string(text.substr(0, end));
}

template <std::int32_t SettingsRecord::*field>
std::string NumberText(const SettingsRecord& r) {
    return std::to_string(r.*field);
}

// An advanced number: 0 up to `high`, anything else the fallback.
template <std::int32_t SettingsRecord::*field, std::int32_t high, std::int32_t fallback = 0>
void ReadNumberUpTo(std::string_view text, SettingsRecord& r) {
    r.*field = NumberIn(text, 0, high).value_or(fallback);
}

// A basic number from 0 up to `high`; anything else reads as 0, the default of every one.
template <std::int32_t SettingsRecord::*field, std::int32_t high>
void ReadLeadingNumberUpTo(std::string_view text, SettingsRecord& r) {
    r.*field = LeadingNumberIn(text, high);
}

SettingControl Shown(ControlKind kind, const char* caption, const char* toolTip = "") {
    SettingControl control;
    control.kind = kind;
    control.caption = caption;
    control.toolTip = toolTip;
    return control;
}

SettingControl Options(const char* caption, std::vector<const char*> choices) {
    SettingControl control = Shown(ControlKind::kOptions, caption);
    control.choices = std::move(choices);
    return control;
}

// 自动校时 keeps 1 for off; its box is ticked while the synchronisation runs.
SettingControl TickedWhenZero(const char* caption, const char* toolTip) {
    SettingControl control = Shown(ControlKind::kCheck, caption, toolTip);
    control.ticked = "0";
    control.cleared = "1";
    return control;
}

SettingControl Percent(const char* caption) {
    SettingControl control = Shown(ControlKind::kNumber, caption);
    control.maximum = kFullVolume;
    control.unit = "%";
    return control;
}

SettingControl Periods(const char* caption, const char* suggestion, const char* toolTip) {
    SettingControl control = Shown(ControlKind::kTimeList, caption, toolTip);
    control.suggestion = suggestion;
    control.hint = "几段用逗号隔开";
    return control;
}

SettingControl Intervals() {
    SettingControl control = Options("报时间隔(分)", {"不设", "5", "10", "15", "20", "30"});
    control.values = {"", "5", "10", "15", "20", "30"};
    control.toolTip =
        "设了间隔就每隔这么多分钟报时一次（从整点算起），报时频率和半点报时不再起作用";
    return control;
}

SettingControl Days() {
    SettingControl control =
        Shown(ControlKind::kText, "报时日",
              "只在这些日子自动报时：留空为每天；星期几用 1（星期一）到 7（星期日），例如 1-5 或 "
              "1-5,7；工作日为中国大陆的工作日（除去节假日，加上调休上班的周末）");
    control.accepts = [](std::string_view text) { return ParseAnnouncementDays(text).has_value(); };
    control.refusal = kBadAnnouncementDays;
    control.hint = "如 1-5、6,7、工作日";
    return control;
}

std::vector<SettingRow> MakeRows() {
    constexpr SettingsPage kBasic = SettingsPage::kBasic;
    constexpr SettingsPage kAdvanced = SettingsPage::kAdvanced;
    return {
        {"报时设置", "0", kBasic, ReadLeadingNumberUpTo<&SettingsRecord::AnnounceFrequency, 2>,
         NumberText<&SettingsRecord::AnnounceFrequency>,
         Options("报时频率", {"整点报时", "两时报时", "六时报时"})},
        // 3, the chime alone, has no button.
        {"格式设置", "0", kBasic, ReadLeadingNumberUpTo<&SettingsRecord::AnnounceFormat, 3>,
         NumberText<&SettingsRecord::AnnounceFormat>,
         Options("报时格式", {"仅报时间", "报年月日", "播放全部"})},
        // 2, never, has no button.
        {"广告设置", "0", kBasic, ReadLeadingNumberUpTo<&SettingsRecord::AdMode, 2>,
         NumberText<&SettingsRecord::AdMode>,
         Options("广告设置", {"开启显示一次", "一天显示一次"})},
        {"关闭报时", "0", kBasic, ReadLeadingNumberUpTo<&SettingsRecord::AnnounceOff, 1>,
         NumberText<&SettingsRecord::AnnounceOff>, Shown(ControlKind::kCheck, "关闭报时")},
        {"开机启动", "0", kBasic, ReadLeadingNumberUpTo<&SettingsRecord::StartWithWindows, 1>,
         NumberText<&SettingsRecord::StartWithWindows>,
         Shown(ControlKind::kCheck, "开机启动",
               "开机自动启动程序，不需要可以不开启，开启会被杀毒软件拦截允许即可"),
         false, false},
        {"自动校时", "0", kBasic, ReadLeadingNumberUpTo<&SettingsRecord::AutoSyncOff, 1>,
         NumberText<&SettingsRecord::AutoSyncOff>,
         TickedWhenZero("自动网络校时", "用于自己电脑时间不准的用户，进行每小时最懂校准时间")},
        {"广告日期", "", SettingsPage::kProgram,
         [](std::string_view t, SettingsRecord& r) { r.AdShownDate = FirstCharacters(t, 11); },
         [](const SettingsRecord& r) { return r.AdShownDate; }},
        // A list with a period that cannot be read is no quiet at all.
        {"免打扰", "", kAdvanced,
         [](std::string_view t, SettingsRecord& r) {
             r.QuietPeriods = ReadQuietPeriods(t).periods;
         },
         [](const SettingsRecord& r) { return FormatQuietPeriods(r.QuietPeriods); },
         Periods("免打扰时段", "22:00-07:00",
                 "这些时段里不自动报时，几个时段用逗号隔开，例如 12:00-13:30,22:00-07:00；"
                 "单击托盘图标仍会报时")},
        {"半点报时", "0", kAdvanced, ReadNumberUpTo<&SettingsRecord::HalfOrQuarterHours, 2>,
         NumberText<&SettingsRecord::HalfOrQuarterHours>,
         Options("半点报时", {"不报", "半点", "每刻钟"})},
        {"报时间隔", "", kAdvanced,
         [](std::string_view t, SettingsRecord& r) {
             r.AnnounceInterval = ParseAnnounceInterval(t).value_or(0);
         },
         [](const SettingsRecord& r) { return FormatAnnounceInterval(r.AnnounceInterval); },
         Intervals()},
        {"报时日", "", kAdvanced,
         [](std::string_view t, SettingsRecord& r) {
             r.AnnounceDays = ParseAnnouncementDays(t).value_or(AnnouncementDays{});
         },
         [](const SettingsRecord& r) { return FormatAnnouncementDays(r.AnnounceDays); }, Days()},
        {"自然读法", "0", kAdvanced, ReadNumberUpTo<&SettingsRecord::NaturalReading, 1>,
         NumberText<&SettingsRecord::NaturalReading>,
         Shown(ControlKind::kCheck, "自然读法", "按平常的说法报时，例如“晚上九点零五分”“两点整”")},
        {"勿扰检测", "0", kAdvanced, ReadNumberUpTo<&SettingsRecord::DesktopQuietCheck, 1>,
         NumberText<&SettingsRecord::DesktopQuietCheck>,
         Shown(ControlKind::kCheck, "全屏或勿扰时不自动报时",
               "有程序全屏、正在演示或桌面处于勿扰状态时跳过自动报时；单击托盘图标和热键仍会报时")},
        // An empty value switches the hotkey off.
        {"报时热键", kDefaultHotkey, kAdvanced,
         [](std::string_view t, SettingsRecord& r) {
             const std::optional<Hotkey> hotkey = ParseHotkey(t);
             r.AnnounceHotkey = Trimmed(t).empty() ? ""
                                : hotkey           ? FormatHotkey(*hotkey)
                                                   : kDefaultHotkey;
         },
         [](const SettingsRecord& r) { return r.AnnounceHotkey; },
         Shown(ControlKind::kHotkey, "报时热键",
               "在任何地方按下这组键都会报时；在框中按下新的组合键即可更改，按退格键清除"),
         true},
        {"音量", "100", kAdvanced,
         ReadNumberUpTo<&SettingsRecord::Volume, kFullVolume, kFullVolume>,
         NumberText<&SettingsRecord::Volume>, Percent("音量")},
        {"语音目录", "", kAdvanced,
         [](std::string_view t, SettingsRecord& r) { r.VoiceFolder = std::string(Trimmed(t)); },
         [](const SettingsRecord& r) { return r.VoiceFolder; },
         Shown(ControlKind::kFolder, "语音目录",
               "另一套语音的文件夹，文件名与程序自带的相同；留空或缺少的语音用程序自带的")},
        {"农历", "0", kAdvanced, ReadNumberUpTo<&SettingsRecord::LunarMode, 2>,
         NumberText<&SettingsRecord::LunarMode>, Options("农历", {"不报", "月日", "年月日"})},
        // Kept as written: the time servers' reader is above this layer. The program takes a
        // text that is not a list of servers for the built-in server, and the page refuses it.
        {"校时服务器", "", kAdvanced,
         [](std::string_view t, SettingsRecord& r) { r.TimeServers = std::string(Trimmed(t)); },
         [](const SettingsRecord& r) { return r.TimeServers; },
         Shown(ControlKind::kText, "校时服务器",
               "网络校时使用的时间服务器，多个用逗号分隔，依次尝试，例如 "
               "ntp://ntp.ntsc.ac.cn；留空则用内置的服务器")},
    };
}

}  // namespace

const std::vector<SettingRow>& SettingsTable() {
    static const std::vector<SettingRow> rows = MakeRows();
    return rows;
}

SettingsRecord::SettingsRecord() : AnnounceHours{1, 2, 6, 0, 0} {
    for (const SettingRow& row : SettingsTable()) {
        row.read(row.defaultText, *this);
    }
}

void LoadSettings(读写配置& config, StartEntryStore& startStore, const std::string& startCommand,
                  SettingsRecord& record) {
    const auto entries = config.ReadSection(kSettingsSection);
    for (const SettingRow& row : SettingsTable()) {
        if (!row.inValueIni) {
            continue;
        }
        // The first line of a key counts; an empty value is an absent key unless the row says
        // otherwise.
        const auto found = std::find_if(entries.begin(), entries.end(),
                                        [&](const auto& entry) { return entry.first == row.key; });
        const bool present =
            found != entries.end() && (row.emptyIsAValue || !Trimmed(found->second).empty());
        row.read(present ? std::string_view(found->second) : row.defaultText, record);
    }
    record.StartWithWindows = IsStartRegistered(startStore, startCommand) ? 1 : 0;
    record.AnnounceHours = {1, 2, 6, 0, 0};
}

bool SaveSettings(读写配置& config, const SettingsRecord& before, const SettingsRecord& after,
                  SettingsPage page) {
    std::vector<std::pair<std::string, std::string>> changed;
    for (const SettingRow& row : SettingsTable()) {
        if (row.inValueIni && row.page == page && row.write(before) != row.write(after)) {
            changed.emplace_back(row.key, row.write(after));
        }
    }
    return changed.empty() || config.WriteStrings(kSettingsSection, changed);
}

}  // namespace horalia
