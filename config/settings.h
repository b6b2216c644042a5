// The settings record: the user's choices, loaded once from Value.ini and the start entry.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/hotkey.h"
#include "config/schedule_values.h"

namespace horalia {

class 读写配置;
class StartEntryStore;

inline constexpr char kSettingsSection[] = "Horalia";

// A daily stretch of quiet, in minutes after midnight: start inclusive, end exclusive; an end
// before the start crosses midnight.
struct QuietHours {
    int startMinute = 0;
    int endMinute = 0;

    bool Contains(int minuteOfDay) const;
    friend bool operator==(const QuietHours&, const QuietHours&) = default;
};

inline constexpr std::int32_t kFullVolume = 100;

struct SettingsRecord {
    std::int32_t AnnounceFrequency = 0;  // "报时设置": index into AnnounceHours
    std::int32_t AnnounceFormat = 0;    // "格式设置": 0 time, 1 date, 2 date then time, 3 chime
    std::int32_t AdMode = 0;            // "广告设置": 0 every start, 1 at most once a day
    std::int32_t AnnounceOff = 0;       // "关闭报时"
    std::int32_t AutoSyncOff = 0;       // "自动校时"
    std::string AdShownDate;            // "广告日期": "yyyy|mm|dd"
    std::int32_t StartWithWindows = 0;  // 1 when the start entry holds this program's command
    std::array<std::int32_t, 5> AnnounceHours{};  // 1, 2, 6, 0, 0 after LoadSettings
    // The advanced settings; each falls back to its default when the file holds nonsense.
    std::optional<QuietHours> QuietTime{};  // "免打扰": "HH:MM-HH:MM", none when absent
    // "半点报时": 1 also at hh:30 after a due hour, 2 also at hh:15, hh:30 and hh:45.
    std::int32_t HalfHourChimes = 0;
    std::int32_t DesktopQuietCheck = 0;  // "勿扰检测": 1 keeps the schedule quiet when asked
    std::string AnnounceHotkey =
        kDefaultHotkey;                 // "报时热键": as FormatHotkey writes it; empty: none
    std::int32_t NaturalReading = 0;    // "自然读法": 1 reads the time as people say it
    std::int32_t Volume = kFullVolume;  // "音量": 0..100
    std::string VoiceFolder{};          // "语音目录": empty for the program's own clips
    // The schedule's further choices. Until their keys have rows they keep these defaults, and
    // the schedule reads QuietTime together with QuietPeriods.
    std::vector<QuietHours> QuietPeriods{};  // "免打扰" as several periods (quiet_periods.h)
    std::int32_t AnnounceInterval = 0;       // "报时间隔": 0, or minutes, replacing the hours
    AnnouncementDays AnnounceDays{};         // "报时日"
};

// Where a key of Value.ini is set: the settings dialog, its advanced page, or the program itself.
enum class SettingsPage { kBasic, kAdvanced, kProgram };

// One row per key of Value.ini: the settings table that loading and saving go through.
struct SettingRow {
    const char* key;
    const char* defaultText;  // what an absent key reads as
    SettingsPage page;
    // Takes the file's text into the record; a text that makes no sense gives the default.
    void (*read)(std::string_view text, SettingsRecord& record);
    // The record's value as the file keeps it.
    std::string (*write)(const SettingsRecord& record);
    // Whether "key=" says something of its own rather than standing for an absent key.
    bool emptyIsAValue = false;
};

const std::vector<SettingRow>& SettingsTable();

// Writes the keys of the page whose values differ between before and after, with one writing of
// the file; nothing when none differs. False when the file could not be written.
bool SaveSettings(读写配置& config, const SettingsRecord& before, const SettingsRecord& after,
                  SettingsPage page);

// "HH:MM" (or "H:MM", blanks around it allowed) of a real time of day, as minutes after midnight.
std::optional<int> ParseTimeOfDay(std::string_view text);
// "HH:MM-HH:MM" (blanks around the parts allowed) as quiet hours; nothing for any other text or
// for a stretch that starts where it ends.
std::optional<QuietHours> ParseQuietHours(std::string_view text);
// "HH:MM-HH:MM", as the file keeps it.
std::string FormatQuietHours(const QuietHours& quiet);
// "HH:MM" of a minute of the day.
std::string FormatTimeOfDay(int minuteOfDay);

// Reads Value.ini (through config, whose file is already named) with one reading of the file,
// key by key as the settings table says, and the start entry into record.
void LoadSettings(读写配置& config, StartEntryStore& startStore, const std::string& startCommand,
                  SettingsRecord& record);

}  // namespace horalia
