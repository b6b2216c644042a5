#include "tools/say/say_options.h"

#include <charconv>
#include <set>
#include <utility>

#include "timesync/daytime.h"

namespace horalia::say {
namespace {

// Exactly `digits` decimal digits at text[pos], advancing pos.
bool TakeNumber(std::string_view text, std::size_t& pos, std::size_t digits, int& value) {
    if (pos + digits > text.size()) {
        return false;
    }
    for (std::size_t i = pos; i < pos + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    std::from_chars(text.data() + pos, text.data() + pos + digits, value);
    pos += digits;
    return true;
}

bool TakeChar(std::string_view text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

bool LooksLikeTime(std::string_view text) {
    return !text.empty() && text[0] >= '0' && text[0] <= '9' &&
           text.find(':') != std::string_view::npos;
}

std::string Quote(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

}  // namespace

std::optional<Moment> ParseMomentText(std::string_view text) {
    Moment m;
    std::size_t pos = 0;
    if (!TakeNumber(text, pos, 4, m.year) || !TakeChar(text, pos, '-') ||
        !TakeNumber(text, pos, 2, m.month) || !TakeChar(text, pos, '-') ||
        !TakeNumber(text, pos, 2, m.day)) {
        return std::nullopt;
    }
    if (!TakeChar(text, pos, ' ') && !TakeChar(text, pos, 'T')) {
        return std::nullopt;
    }
    if (!TakeNumber(text, pos, 2, m.hour) || !TakeChar(text, pos, ':') ||
        !TakeNumber(text, pos, 2, m.minute)) {
        return std::nullopt;
    }
    if (TakeChar(text, pos, ':') && !TakeNumber(text, pos, 2, m.second)) {
        return std::nullopt;
    }
    if (pos != text.size() || !IsValidMoment(m)) {
        return std::nullopt;
    }
    return m;
}

ParseResult ParseSayArguments(const std::vector<std::string>& arguments) {
    ParseResult result;
    SayOptions& o = result.options;
    std::set<std::string> seen;
    const auto fail = [&result](std::string message) {
        result.error = std::move(message);
        return result;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> inlineValue;
        if (name.starts_with("--")) {
            if (const std::size_t eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name.resize(eq);
            }
        }
        const bool takesValue = name == "--at" || name == "--format" || name == "--wav" ||
                                name == "--voice" || name == "--volume" ||
                                name == "--check-voice" || name == "--from" || name == "--count" ||
                                name == "--lunar" || name == "--quiet" || name == "--interval" ||
                                name == "--days";
        std::string value;
        if (takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return fail("option " + name + " needs a value");
            }
            if (!seen.insert(name).second) {
                return fail("option " + name + " given twice");
            }
        } else if (inlineValue && name != "--check-time") {
            return fail("option " + name + " takes no value");
        }
        if (name == "--check-time") {
            // The server is optional: a following argument is one unless it is an option.
            if (!seen.insert(name).second) {
                return fail("option --check-time given twice");
            }
            std::string server;
            if (inlineValue) {
                server = *inlineValue;
            } else if (i + 1 < arguments.size() && !arguments[i + 1].starts_with("-")) {
                server = arguments[++i];
            }
            if (server.empty()) {
                o.checkTime.emplace();  // the setting's servers
                continue;
            }
            o.checkTime = ParseTimeServerList(server);
            if (!o.checkTime) {
                return fail("--check-time: " + Quote(server) +
                            " is not a server of the form HOST, HOST:PORT, [IPv6]:PORT, "
                            "daytime://HOST or ntp://HOST (port 1 to 65535), nor a list of them "
                            "separated by commas");
            }
            continue;
        }
        if (name == "--help" || name == "-h") {
            o.help = true;
        } else if (name == "--version") {
            o.version = true;
        } else if (name == "--print") {
            o.print = true;
        } else if (name == "--natural") {
            o.natural = true;
        } else if (name == "--schedule") {
            o.schedule = true;
        } else if (name == "--remove-start-entries") {
            o.removeStartEntries = true;
        } else if (name == "--at" || name == "--from") {
            // The date and the time may come as two arguments when the quotes were forgotten.
            if (!inlineValue && value.find(' ') == std::string::npos &&
                value.find('T') == std::string::npos && i + 1 < arguments.size() &&
                LooksLikeTime(arguments[i + 1])) {
                value += ' ' + arguments[++i];
            }
            std::optional<Moment>& target = name == "--at" ? o.at : o.from;
            target = ParseMomentText(value);
            if (!target) {
                return fail(name + ": " + Quote(value) +
                            " is not a real moment of the form \"YYYY-MM-DD HH:MM:SS\"");
            }
        } else if (name == "--format") {
            if (value != "0" && value != "1" && value != "2") {
                return fail("--format: " + Quote(value) +
                            " is not one of 0 (time), 1 (date), 2 (date and time)");
            }
            o.format = value[0] - '0';
        } else if (name == "--lunar") {
            if (value != "0" && value != "1" && value != "2") {
                return fail("--lunar: " + Quote(value) +
                            " is not one of 0 (none), 1 (month and day), 2 (year, month and day)");
            }
            o.lunar = value[0] - '0';
        } else if (name == "--volume" || name == "--count") {
            const bool volume = name == "--volume";
            const int low = volume ? 0 : 1;
            const int high = volume ? 100 : kMaxScheduleCount;
            int number = -1;
            const bool digits = !value.empty() && value.size() <= 5 &&
                                value.find_first_not_of("0123456789") == std::string::npos;
            if (digits) {
                std::from_chars(value.data(), value.data() + value.size(), number);
            }
            if (!digits || number < low || number > high) {
                return fail(name + ": " + Quote(value) + " is not a whole number from " +
                            std::to_string(low) + " to " + std::to_string(high));
            }
            (volume ? o.volume : o.count) = number;
        } else if (name == "--quiet") {
            const QuietPeriodsReading quiet = ReadQuietPeriods(value);
            if (!quiet.Ok()) {
                return fail("--quiet: " + Quote(value) +
                            " is not a list of periods HH:MM-HH:MM separated by commas, each "
                            "between two different times");
            }
            o.quietPeriods = quiet.periods;
        } else if (name == "--interval") {
            o.interval = ParseAnnounceInterval(value);
            if (!o.interval) {
                return fail("--interval: " + Quote(value) +
                            " is not one of 5, 10, 15, 20, 30 (minutes) or empty");
            }
        } else if (name == "--days") {
            o.days = ParseAnnouncementDays(value);
            if (!o.days) {
                return fail("--days: " + Quote(value) +
                            " is not empty, 工作日, or weekdays 1 (Monday) to 7 (Sunday) and "
                            "ranges separated by commas, such as 1-5,7");
            }
        } else if (name == "--wav" || name == "--voice" || name == "--check-voice") {
            if (value.empty()) {
                return fail(name + (name == "--wav" ? " needs a file name" : " needs a folder"));
            }
            (name == "--wav"     ? o.wavPath
             : name == "--voice" ? o.voiceFolder
                                 : o.checkVoice) = value;
        } else if (name.starts_with("-")) {
            return fail("unknown option " + Quote(name) + " (see --help)");
        } else {
            return fail("unexpected argument " + Quote(name) + " (see --help)");
        }
    }
    if (o.removeStartEntries && arguments.size() != 1) {
        return fail("--remove-start-entries takes no other option");
    }
    const char* scheduleOnly = o.from           ? "--from"
                               : o.count        ? "--count"
                               : o.quietPeriods ? "--quiet"
                               : o.interval     ? "--interval"
                               : o.days         ? "--days"
                                                : nullptr;
    if (scheduleOnly && !o.schedule) {
        return fail(std::string(scheduleOnly) + " goes with --schedule");
    }
    if (o.schedule && o.checkVoice) {
        return fail("--schedule and --check-voice cannot be combined");
    }
    if (o.checkTime && (o.print || o.at || o.format || o.wavPath || o.schedule || o.checkVoice)) {
        return fail(
            "--check-time cannot be combined with --at, --format, --print, --wav, "
            "--schedule or --check-voice");
    }
    return result;
}

std::string SayUsage() {
    return "Usage: horalia-say [--at \"YYYY-MM-DD HH:MM:SS\"] [--format 0|1|2] [--print] "
           "[--wav FILE] [--help]\n"
           "                   [--natural] [--lunar 0|1|2] [--voice DIR] [--volume N]\n"
           "       horalia-say --check-voice DIR\n"
           "       horalia-say --check-time [SERVER[,SERVER...]]\n"
           "       horalia-say --schedule [--from \"YYYY-MM-DD HH:MM:SS\"] [--count N]\n"
           "                   [--quiet PERIODS] [--interval N] [--days DAYS]\n"
           "       horalia-say --remove-start-entries\n"
           "       horalia-say --version\n"
           "Speaks one announcement of Horalia: the chime, then the time and/or the date.\n"
           "\n"
           "  --at \"YYYY-MM-DD HH:MM:SS\"  announce this moment instead of now (seconds "
           "optional)\n"
           "  --format N                  0 time, 1 date, 2 date then time; without it, the\n"
           "                              setting 格式设置 of Value.ini (0 when there is none)\n"
           "  --print                     write the clip names on one line and play nothing\n"
           "  --wav FILE                  write the announcement into one WAV file, clips joined\n"
           "                              without gaps, and play nothing; a missing clip becomes\n"
           "                              a short tone\n"
           "  --natural                   read the time as people say it (两点零五分, 凌晨 早上\n"
           "                              中午 晚上), whatever the setting 自然读法\n"
           "  --lunar N                   with the date, after the weekday, the lunar date: 0\n"
           "                              none, 1 农历 with the month and the day, 2 with the\n"
           "                              year's 干支 and 生肖 too, then the day's solar term and\n"
           "                              festivals (1901-02-19 to 2100-12-31); without it,\n"
           "                              the setting 农历 (0 when there is none)\n"
           "  --voice DIR                 take the clips from this folder, the program's own\n"
           "                              where it lacks one; without it, the setting 语音目录\n"
           "  --volume N                  0 to 100, the loudness of the clips; without it, the\n"
           "                              setting 音量 (100 when there is none)\n"
           "  --check-voice DIR           list the clips that DIR lacks or that cannot be played,\n"
           "                              and play nothing\n"
           "  --schedule                  list the next moments at which the tray program would\n"
           "                              announce on its own under Value.ini, one\n"
           "                              \"YYYY-MM-DD HH:MM:SS\" per line, and play nothing;\n"
           "                              nothing when announcements are off\n"
           "  --from \"YYYY-MM-DD HH:MM:SS\" with --schedule: from this moment instead of now\n"
           "  --count N                   with --schedule: this many moments (default 5)\n"
           "  --quiet PERIODS             with --schedule: these quiet periods instead of the\n"
           "                              setting 免打扰, HH:MM-HH:MM separated by commas\n"
           "                              (\"12:00-13:30,22:00-07:00\"); \"\" for none\n"
           "  --interval N                with --schedule: every N minutes past the hour (5, 10,\n"
           "                              15, 20 or 30) instead of the setting 报时间隔; \"\" for\n"
           "                              the hours of 报时设置 with 半点报时\n"
           "  --days DAYS                 with --schedule: on these days instead of the setting\n"
           "                              报时日: weekdays 1 (Monday) to 7 (Sunday) with ranges\n"
           "                              (\"1-5,7\"), 工作日 (mainland China's working days, "
           "with\n"
           "                              节假日.txt beside Value.ini), or \"\" for every day\n"
           "  --check-time [SERVERS]      ask a time server for the time once and print it as\n"
           "                              local time \"YYYY-MM-DD HH:MM:SS\" with how far this\n"
           "                              computer's clock is off; the clock is never set.\n"
           "                              SERVERS: HOST, HOST:PORT or [IPv6]:PORT, Daytime (TCP\n"
           "                              port 13) or after ntp:// NTP (UDP port 123), several\n"
           "                              separated by commas and asked in turn, all within 10\n"
           "                              seconds; those of the setting 校时服务器 unless\n"
           "                              given (time.nist.gov's Daytime service when it names\n"
           "                              none). A second line\n"
           "                              tells when the tray program's hourly synchronisation\n"
           "                              would not set it (over 1000 seconds, or a year\n"
           "                              outside 2020 to 2100)\n"
           "  --remove-start-entries      remove Horalia's start at log-on: on Windows every\n"
           "                              person's log-on task, as the uninstaller does (other\n"
           "                              people's need administrator rights); on Linux this\n"
           "                              user's autostart file\n"
           "  --help                      show this text\n"
           "  --version                   show the version\n"
           "\n"
           "Exit status: 0 done, 1 the clips could not be rendered, --check-voice found a clip\n"
           "missing or unplayable, a start entry could not be removed, or no time came from the "
           "server (refused, silent for 10\n"
           "seconds, closed without data, unhealthy, or a reply not understood), 2 bad\n"
           "arguments or an unwritable output file, 3 nothing could be played (no sound server\n"
           "or no output device), 4 --check-time understood the server's time but the hourly\n"
           "synchronisation would not set the clock to it.\n";
}

}  // namespace horalia::say
