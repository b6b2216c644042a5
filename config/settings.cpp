#include "config/settings.h"

#include <charconv>
#include <utility>

#include "config/ini_file.h"
#include "config/start_with_system.h"

namespace horalia {
namespace {

// Values a hand-edited Value.ini may hold beyond what the dialog writes are decided here:
// - 报时设置 picks a slot of AnnounceHours; only slots 0..2 hold a period, so anything else
//   (3, 4, negatives, larger) falls back to 0, every hour.
// - 格式设置 keeps 0..3 (3 is the chime alone); anything else falls back to 0, time only.
// - 广告设置, 关闭报时 and 自动校时 are kept as read: the advertisement check treats any value
//   other than 0 and 1 as "never show", and start-up gives the check marks and timers a defined
//   state for every number.
std::int32_t FrequencyOrDefault(std::int32_t value) {
    return (value >= 0 && value <= 2) ? value : 0;
}
std::int32_t FormatOrDefault(std::int32_t value) {
    return (value >= 0 && value <= 3) ? value : 0;
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

// Enough for any folder path a person would choose.
constexpr std::int32_t kPathBufferSize = 4096;

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

void LoadSettings(读写配置& config, StartEntryStore& startStore, const std::string& startCommand,
                  SettingsRecord& record) {
    record.AnnounceFrequency = FrequencyOrDefault(config.ReadInt(kSettingsSection, "报时设置"));
    record.AnnounceFormat = FormatOrDefault(config.ReadInt(kSettingsSection, "格式设置"));
    record.AdMode = config.ReadInt(kSettingsSection, "广告设置");
    record.AnnounceOff = config.ReadInt(kSettingsSection, "关闭报时");
    record.AutoSyncOff = config.ReadInt(kSettingsSection, "自动校时");
    record.AdShownDate = config.ReadString(kSettingsSection, "广告日期", 12);
    // The advanced keys are read as text, so that an absent key is told from a bad one and each
    // falls back to its own default (volume 100, not 0).
    record.QuietTime = ParseQuietHours(config.ReadString(kSettingsSection, "免打扰", 64));
    record.HalfHourChimes =
        NumberIn(config.ReadString(kSettingsSection, "半点报时", 16), 0, 1).value_or(0);
    record.NaturalReading =
        NumberIn(config.ReadString(kSettingsSection, "自然读法", 16), 0, 1).value_or(0);
    record.Volume = NumberIn(config.ReadString(kSettingsSection, "音量", 16), 0, kFullVolume)
                        .value_or(kFullVolume);
    record.VoiceFolder =
        std::string(Trimmed(config.ReadString(kSettingsSection, "语音目录", kPathBufferSize)));
    record.StartWithWindows = IsStartRegistered(startStore, startCommand) ? 1 : 0;
    record.AnnounceHours = {1, 2, 6, 0, 0};
}

bool WriteAdvancedSettings(读写配置& config, const SettingsRecord& record) {
    const std::pair<const char*, std::string> keys[] = {
        {"免打扰", record.QuietTime ? FormatQuietHours(*record.QuietTime) : ""},
        {"半点报时", std::to_string(record.HalfHourChimes)},
        {"自然读法", std::to_string(record.NaturalReading)},
        {"音量", std::to_string(record.Volume)},
        {"语音目录", record.VoiceFolder},
    };
    bool saved = true;
    for (const auto& [key, value] : keys) {
        saved = config.WriteString(kSettingsSection, key, value) && saved;
    }
    return saved;
}

}  // namespace horalia
