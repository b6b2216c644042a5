#include "config/settings.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "config/ini_document.h"
#include "config/ini_file.h"
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

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
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

bool QuietHours::Contains(int minuteOfDay) const {
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

std::optional<QuietHours> ParseQuietHours(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        return std::nullopt;
    }
    const auto start = ParseTimeOfDay(text.substr(0, dash));
    const auto end = ParseTimeOfDay(text.substr(dash + 1));
    if (!start || !end || *start == *end) {
        return std::nullopt;
    }
    return QuietHours{*start, *end};
}

std::string FormatTimeOfDay(int minuteOfDay) {
    return TwoDigits(minuteOfDay / 60) + ":" + TwoDigits(minuteOfDay % 60);
}

std::string FormatQuietHours(const QuietHours& quiet) {
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

const std::vector<SettingRow> kRows = {
    {"报时设置", "0", SettingsPage::kBasic,
     ReadLeadingNumberUpTo<&SettingsRecord::AnnounceFrequency, 2>,
     NumberText<&SettingsRecord::AnnounceFrequency>},
    {"格式设置", "0", SettingsPage::kBasic,
     ReadLeadingNumberUpTo<&SettingsRecord::AnnounceFormat, 3>,
     NumberText<&SettingsRecord::AnnounceFormat>},
    {"广告设置", "0", SettingsPage::kBasic, ReadLeadingNumberUpTo<&SettingsRecord::AdMode, 2>,
     NumberText<&SettingsRecord::AdMode>},
    {"关闭报时", "0", SettingsPage::kBasic, ReadLeadingNumberUpTo<&SettingsRecord::AnnounceOff, 1>,
     NumberText<&SettingsRecord::AnnounceOff>},
    {"自动校时", "0", SettingsPage::kBasic, ReadLeadingNumberUpTo<&SettingsRecord::AutoSyncOff, 1>,
     NumberText<&SettingsRecord::AutoSyncOff>},
    {"广告日期", "", SettingsPage::kProgram,
     [](std::string_view t, SettingsRecord& r) { r.AdShownDate = FirstCharacters(t, 11); },
     [](const SettingsRecord& r) { return r.AdShownDate; }},
    {"免打扰", "", SettingsPage::kAdvanced,
     [](std::string_view t, SettingsRecord& r) { r.QuietTime = ParseQuietHours(t); },
     [](const SettingsRecord& r) {
         return r.QuietTime ? FormatQuietHours(*r.QuietTime) : std::string();
     }},
    {"半点报时", "0", SettingsPage::kAdvanced, ReadNumberUpTo<&SettingsRecord::HalfHourChimes, 2>,
     NumberText<&SettingsRecord::HalfHourChimes>},
    {"勿扰检测", "0", SettingsPage::kAdvanced,
     ReadNumberUpTo<&SettingsRecord::DesktopQuietCheck, 1>,
     NumberText<&SettingsRecord::DesktopQuietCheck>},
    // An empty value switches the hotkey off.
    {"报时热键", kDefaultHotkey, SettingsPage::kAdvanced,
     [](std::string_view t, SettingsRecord& r) {
         const std::optional<Hotkey> hotkey = ParseHotkey(t);
         r.AnnounceHotkey = Trimmed(t).empty() ? ""
                            : hotkey           ? FormatHotkey(*hotkey)
                                               : kDefaultHotkey;
     },
     [](const SettingsRecord& r) { return r.AnnounceHotkey; }, true},
    {"自然读法", "0", SettingsPage::kAdvanced, ReadNumberUpTo<&SettingsRecord::NaturalReading, 1>,
     NumberText<&SettingsRecord::NaturalReading>},
    {"音量", "100", SettingsPage::kAdvanced,
     ReadNumberUpTo<&SettingsRecord::Volume, kFullVolume, kFullVolume>,
     NumberText<&SettingsRecord::Volume>},
    {"语音目录", "", SettingsPage::kAdvanced,
     [](std::string_view t, SettingsRecord& r) { r.VoiceFolder = std::string(Trimmed(t)); },
     [](const SettingsRecord& r) { return r.VoiceFolder; }},
};

}  // namespace

const std::vector<SettingRow>& SettingsTable() {
    return kRows;
}

void LoadSettings(读写配置& config, StartEntryStore& startStore, const std::string& startCommand,
                  SettingsRecord& record) {
    const auto entries = config.ReadSection(kSettingsSection);
    for (const SettingRow& row : kRows) {
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
    for (const SettingRow& row : kRows) {
        if (row.page == page && row.write(before) != row.write(after)) {
            changed.emplace_back(row.key, row.write(after));
        }
    }
    return changed.empty() || config.WriteStrings(kSettingsSection, changed);
}

}  // namespace horalia
