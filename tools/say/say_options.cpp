#include "tools/say/say_options.h"

#include <charconv>

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
    bool seenAt = false;
    bool seenFormat = false;
    bool seenWav = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> inlineValue;
        if (name.starts_with("--")) {
            if (const std::size_t eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name.resize(eq);
            }
        }
        const bool takesValue = name == "--at" || name == "--format" || name == "--wav";
        std::string value;
        if (takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                result.error = "option " + name + " needs a value";
                return result;
            }
        } else if (inlineValue) {
            result.error = "option " + name + " takes no value";
            return result;
        }
        bool& seen = name == "--at" ? seenAt : name == "--format" ? seenFormat : seenWav;
        if (takesValue && seen) {
            result.error = "option " + name + " given twice";
            return result;
        }
        if (name == "--help" || name == "-h") {
            o.help = true;
        } else if (name == "--print") {
            o.print = true;
        } else if (name == "--at") {
            seen = true;
            // The date and the time may come as two arguments when the quotes were forgotten.
            if (!inlineValue && value.find(' ') == std::string::npos &&
                value.find('T') == std::string::npos && i + 1 < arguments.size() &&
                LooksLikeTime(arguments[i + 1])) {
                value += ' ' + arguments[++i];
            }
            o.at = ParseMomentText(value);
            if (!o.at) {
                result.error = "--at: " + Quote(value) +
                               " is not a real moment of the form \"YYYY-MM-DD HH:MM:SS\"";
                return result;
            }
        } else if (name == "--format") {
            seen = true;
            if (value != "0" && value != "1" && value != "2") {
                result.error = "--format: " + Quote(value) +
                               " is not one of 0 (time), 1 (date), 2 (date and time)";
                return result;
            }
            o.format = value[0] - '0';
        } else if (name == "--wav") {
            seen = true;
            if (value.empty()) {
                result.error = "--wav needs a file name";
                return result;
            }
            o.wavPath = value;
        } else if (name.starts_with("-")) {
            result.error = "unknown option " + Quote(name) + " (see --help)";
            return result;
        } else {
            result.error = "unexpected argument " + Quote(name) + " (see --help)";
            return result;
        }
    }
    return result;
}

std::string SayUsage() {
    return "Usage: horalia-say [--at \"YYYY-MM-DD HH:MM:SS\"] [--format 0|1|2] [--print] "
           "[--wav FILE] [--help]\n"
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
           "  --help                      show this text\n"
           "\n"
           "Exit status: 0 done, 1 the clips could not be rendered, 2 bad arguments or an\n"
           "unwritable output file, 3 nothing could be played (no sound server or no output\n"
           "device).\n";
}

}  // namespace horalia::say
