// The command line of horalia-say, parsed without side effects.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/moment.h"
#include "config/quiet_periods.h"
#include "config/schedule_values.h"
#include "timesync/time_server.h"

namespace horalia::say {

struct SayOptions {
    bool help = false;
    bool version = false;
    bool print = false;
    std::optional<Moment> at;            // the moment to announce instead of now
    std::optional<std::int32_t> format;  // 0..2, instead of the setting
    std::optional<std::string> wavPath;  // render into this file instead of playing
    // Ask these servers for the time instead, in order until one answers; none given: those of
    // the setting 校时服务器.
    std::optional<std::vector<ServerAddress>> checkTime;
    bool natural = false;                    // natural reading whatever the setting
    std::optional<std::int32_t> lunar;       // 0..2, the lunar date's reading (农历)
    std::optional<std::string> voiceFolder;  // instead of 语音目录
    std::optional<std::int32_t> volume;      // 0..100, instead of 音量
    std::optional<std::string> checkVoice;   // list the clips this folder lacks, and nothing else
    bool schedule = false;                   // list the next scheduled moments, and nothing else
    std::optional<Moment> from;              // the schedule from this moment instead of now
    std::optional<int> count;                // how many moments of the schedule (default 5)
    bool removeStartEntries = false;         // remove the start at log-on, and nothing else
    // With --schedule, instead of the settings: every quiet period (免打扰), 报时间隔, 报时日.
    std::optional<std::vector<QuietPeriod>> quietPeriods;
    std::optional<std::int32_t> interval;
    std::optional<AnnouncementDays> days;
};

inline constexpr int kDefaultScheduleCount = 5;
inline constexpr int kMaxScheduleCount = 10000;

struct ParseResult {
    SayOptions options;
    std::string error;  // one line naming the problem; empty when the arguments are good

    bool Ok() const { return error.empty(); }
};

// "YYYY-MM-DD HH:MM:SS" (seconds optional) naming a real date and time of day.
std::optional<Moment> ParseMomentText(std::string_view text);

// arguments: the command line without the program name, as UTF-8.
ParseResult ParseSayArguments(const std::vector<std::string>& arguments);

// The text of --help.
std::string SayUsage();

}  // namespace horalia::say
