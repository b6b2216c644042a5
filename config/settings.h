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
struct QuietPeriod {
    int startMinute = 0;
    int endMinute = 0;

    bool Contains(int minuteOfDay) const;
    friend bool operator==(const QuietPeriod&, const QuietPeriod&) = default;
};

inline constexpr std::int32_t kFullVolume = 100;

// The record's values. A new record holds every key's default, as the settings table gives it.
struct SettingsRecord {
    SettingsRecord();

    std::int32_t AnnounceFrequency;  // "报时设置": index into AnnounceHours
    std::int32_t AnnounceFormat;     // "格式设置": 0 time, 1 date, 2 date then time, 3 chime
    std::int32_t AdMode;             // "广告设置": 0 every start, 1 at most once a day, 2 never
    std::int32_t AnnounceOff;        // "关闭报时"
    std::int32_t AutoSyncOff;        // "自动校时"
    std::string AdShownDate;         // "广告日期": "yyyy|mm|dd"
    std::int32_t StartWithWindows;   // 1 when the start entry holds this program's command
    std::array<std::int32_t, 5> AnnounceHours;  // 1, 2, 6, 0, 0
    // The advanced settings.
    std::vector<QuietPeriod> QuietPeriods;  // "免打扰": "HH:MM-HH:MM,..." (quiet_periods.h)
    // "半点报时": 1 also at hh:30 after a due hour, 2 also at hh:15, hh:30 and hh:45.
    std::int32_t HalfOrQuarterHours;
    std::int32_t DesktopQuietCheck;  // "勿扰检测": 1 keeps the schedule quiet when asked
    std::string AnnounceHotkey;      // "报时热键": as FormatHotkey writes it; empty: none
    std::int32_t NaturalReading;     // "自然读法": 1 reads the time as people say it
    std::int32_t Volume;             // "音量": 0..kFullVolume
    std::string VoiceFolder;         // "语音目录": empty for the program's own clips
    std::int32_t AnnounceInterval;   // "报时间隔": 0, or minutes, replacing the hours
    AnnouncementDays AnnounceDays;   // "报时日"
    // "农历": the lunar date after the weekday, 0 none, 1 month and day, 2 with the year too.
    std::int32_t LunarMode;
    // "校时服务器": the time servers as written (ParseTimeServerList); empty for the built-in one.
    std::string TimeServers;
};

// Where a setting is set: the settings dialog, its advanced page, or the program itself.
enum class SettingsPage { kBasic, kAdvanced, kProgram };

// How a page shows a setting.
enum class ControlKind {
    kNone,      // not shown
    kCheck,     // a check box
    kOptions,   // option buttons, one per value from 0 on (or per one of `values`)
    kNumber,    // a slider from minimum to maximum, the value beside it
    kTimeList,  // a switch and a box of periods "HH:MM-HH:MM,HH:MM-HH:MM"
    kText,      // a line of text, which `accepts` may check
    kHotkey,    // a box that takes the key combination pressed in it
    kFolder,    // a folder's path, with 浏览… beside it
};

struct SettingControl {
    ControlKind kind = ControlKind::kNone;
    const char* caption = "";  // the box's text, or the label or frame that names the control
    const char* toolTip = "";
    std::vector<const char*> choices = {};  // options: each value's caption
    // Options: the file's text each choice stands for; empty when the values are 0, 1, ...
    std::vector<const char*> values = {};
    const char* ticked = "1";  // a check box: the values a ticked and a clear box stand for
    const char* cleared = "0";
    int minimum = 0;  // a number's range
    int maximum = 0;
    const char* unit = "";  // a number: shown after it
    // A time list: the periods the box offers while the list is empty.
    const char* suggestion = "";
    // A time list or a text: how to write it, in grey after the box.
    const char* hint = "";
    // A text: whether the page may apply it, and what it says when not.
    bool (*accepts)(std::string_view text) = nullptr;
    const char* refusal = "";
};

// One row per setting: the settings table that loading, saving and the dialog's pages go
// through. The rows of a page are its tab order.
struct SettingRow {
    const char* key;
    const char* defaultText;  // what an absent key reads as
    SettingsPage page;
    // Takes the file's text into the record; a text that makes no sense gives the default.
    void (*read)(std::string_view text, SettingsRecord& record);
    // The record's value as the file keeps it.
    std::string (*write)(const SettingsRecord& record);
    SettingControl control = {};
    // Whether "key=" says something of its own rather than standing for an absent key.
    bool emptyIsAValue = false;
    // False for a setting kept outside Value.ini (开机启动: the start entry).
    bool inValueIni = true;
};

const std::vector<SettingRow>& SettingsTable();

// Writes the keys of the page whose values differ between before and after, with one writing of
// the file; nothing when none differs. False when the file could not be written.
bool SaveSettings(读写配置& config, const SettingsRecord& before, const SettingsRecord& after,
                  SettingsPage page);

// "HH:MM" (or "H:MM", blanks around it allowed) of a real time of day, as minutes after midnight.
std::optional<int> ParseTimeOfDay(std::string_view text);
// "HH:MM-HH:MM" (blanks around the parts allowed) as a quiet period; nothing for any other text or
// for a stretch that starts where it ends.
std::optional<QuietPeriod> ParseQuietPeriod(std::string_view text);
// "HH:MM-HH:MM", as the file keeps it.
std::string FormatQuietPeriod(const QuietPeriod& quiet);
// "HH:MM" of a minute of the day.
std::string FormatTimeOfDay(int minuteOfDay);

// Reads Value.ini (through config, whose file is already named) with one reading of the file,
// key by key as the settings table says, and the start entry into record.
void LoadSettings(读写配置& config, StartEntryStore& startStore, const std::string& startCommand,
                  SettingsRecord& record);

}  // namespace horalia
