#include "timesync/daytime.h"

#include <algorithm>
#include <array>
#include <vector>

#include "common/moment.h"
#include "common/zone_clock.h"

namespace horalia {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kLineEnds = "\r\n";
constexpr std::string_view kWhiteSpace = " \t\r\n";

// Plain decimal digits only, no sign, no blanks, not empty, at most `largest`.
std::optional<std::uint32_t> ParseDecimal(std::string_view text, std::uint32_t largest) {
    if (text.empty())
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
        if (value > largest)
            return std::nullopt;
    }
    return value;
}

std::optional<std::uint16_t> ParseNumber(std::string_view text) {
    const auto value = ParseDecimal(text, 0xFFFFu);
    return value ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(*value)) : std::nullopt;
}

// Exactly `digits` decimal digits.
std::optional<std::uint16_t> ParseFixed(std::string_view text, std::size_t digits) {
    return text.size() == digits ? ParseNumber(text) : std::nullopt;
}

// Digits with at most one '.' among them ("50.0" -> 50); at most 9999.9.
std::optional<std::int32_t> ParseAdvance(std::string_view text) {
    const std::size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view tenths = dot == std::string_view::npos ? "" : text.substr(dot + 1);
    const auto ms = ParseNumber(whole);
    if (!ms || *ms > 9999 || tenths.find('.') != std::string_view::npos ||
        (dot != std::string_view::npos && !ParseNumber(tenths)))
        return std::nullopt;
    return static_cast<std::int32_t>(*ms);
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::string_view TrimEnd(std::string_view text, std::string_view characters) {
    const std::size_t last = text.find_last_not_of(characters);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view WithoutComma(std::string_view text) {
    return text.ends_with(',') ? text.substr(0, text.size() - 1) : text;
}

// A word of a reply and where it ends in its line.
struct Token {
    std::string_view text;
    std::size_t end = 0;
};

// Splits at runs of blanks.
std::vector<Token> Tokens(std::string_view line) {
    std::vector<Token> tokens;
    std::size_t pos = line.find_first_not_of(kBlanks);
    while (pos != std::string_view::npos) {
        std::size_t end = line.find_first_of(kBlanks, pos);
        if (end == std::string_view::npos)
            end = line.size();
        tokens.push_back({line.substr(pos, end - pos), end});
        pos = line.find_first_not_of(kBlanks, end);
    }
    return tokens;
}

// 1..12 for the English month names, spelled out or abbreviated to three letters (and SEPT).
int MonthOf(std::string_view word) {
    static constexpr std::array<std::string_view, 12> kNames = {
        "JANUARY", "FEBRUARY", "MARCH",     "APRIL",   "MAY",      "JUNE",
        "JULY",    "AUGUST",   "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
    const std::string upper = Upper(word);
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (upper == kNames[i] || upper == kNames[i].substr(0, 3) || (i == 8 && upper == "SEPT"))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

bool IsWeekday(std::string_view word) {
    static constexpr std::array<std::string_view, 7> kNames = {
        "SUNDAY", "MONDAY", "TUESDAY", "WEDNESDAY", "THURSDAY", "FRIDAY", "SATURDAY"};
    const std::string upper = Upper(WithoutComma(word));
    for (std::string_view name : kNames) {
        if (upper == name || upper == name.substr(0, 3))
            return true;
    }
    return false;
}

// "+08", "+0800" or "+08:00" (and '-'): minutes east of UTC.
std::optional<std::int32_t> ParseNumericOffset(std::string_view text) {
    if (text.size() < 3 || (text[0] != '+' && text[0] != '-'))
        return std::nullopt;
    const int sign = text[0] == '-' ? -1 : 1;
    std::string_view digits = text.substr(1);
    std::optional<std::uint16_t> hours = ParseFixed(digits.substr(0, 2), 2);
    std::optional<std::uint16_t> minutes = std::uint16_t{0};
    if (digits.size() == 4) {
        minutes = ParseFixed(digits.substr(2), 2);
    } else if (digits.size() == 5 && digits[2] == ':') {
        minutes = ParseFixed(digits.substr(3), 2);
    } else if (digits.size() != 2) {
        return std::nullopt;
    }
    if (!hours || !minutes || *hours > 14 || *minutes > 59)
        return std::nullopt;
    return sign * (*hours * 60 + *minutes);
}

// A field that names the zone of a time: UTC, GMT or UT (possibly with an offset), Z, or a
// numeric offset. Other zone words (CST, PST) name several zones each and are not taken.
std::optional<std::int32_t> ParseZone(std::string_view text) {
    const std::string upper = Upper(text);
    if (upper == "Z")
        return 0;
    for (std::string_view name : {"UTC", "GMT", "UT"}) {
        if (upper.starts_with(name)) {
            const std::string_view rest = std::string_view(upper).substr(name.size());
            return rest.empty() ? std::optional<std::int32_t>(0) : ParseNumericOffset(rest);
        }
    }
    return ParseNumericOffset(text);
}

struct TimeOfDay {
    std::uint16_t hour = 0, minute = 0, second = 0, millisecond = 0;
    bool hasFraction = false;
    std::optional<std::int32_t> zone;  // written onto the time: "05:04:56Z", "17:37:43-0800"
};

// "h:m:s", seconds possibly with a fraction, then possibly a fourth ':' part (ignored) or a zone
// written onto it ("Z", "+0800", "-PST"; a zone word is not taken, see ParseZone).
std::optional<TimeOfDay> ParseTimeOfDay(std::string_view text) {
    const std::size_t firstColon = text.find(':');
    const std::size_t secondColon = text.find(':', firstColon + 1);
    if (firstColon == std::string_view::npos || secondColon == std::string_view::npos)
        return std::nullopt;
    std::string_view seconds = text.substr(secondColon + 1);
    const std::size_t digitsEnd = std::min(seconds.find_first_not_of("0123456789"), seconds.size());
    std::string_view rest = seconds.substr(digitsEnd);
    // The hour may lack its leading zero; minutes and seconds always have two digits, so a
    // field cut short ("14:30:5") is not taken.
    TimeOfDay t;
    const std::string_view hourText = text.substr(0, firstColon);
    const auto hour = hourText.size() <= 2 ? ParseNumber(hourText) : std::nullopt;
    const auto minute = ParseFixed(text.substr(firstColon + 1, secondColon - firstColon - 1), 2);
    const auto second = ParseFixed(seconds.substr(0, digitsEnd), 2);
    if (!hour || !minute || !second)
        return std::nullopt;
    t.hour = *hour;
    t.minute = *minute;
    t.second = *second;
    if (rest.starts_with('.')) {
        const std::size_t end = std::min(rest.find_first_not_of("0123456789", 1), rest.size());
        if (end == 1)
            return std::nullopt;
        std::string fraction(rest.substr(1, std::min<std::size_t>(end - 1, 3)));
        fraction.resize(3, '0');
        t.millisecond = *ParseNumber(fraction);
        t.hasFraction = true;
        rest.remove_prefix(end);
    }
    if (rest.empty() || rest.starts_with(':'))
        return t;
    if (const auto zone = ParseZone(rest)) {
        t.zone = zone;
        return t;
    }
    // "14:29:51-UTC": the sign only joins the zone's name to the time.
    if (rest[0] == '-' || rest[0] == '+') {
        if (const auto zone = ParseZone(rest.substr(1));
            zone && !rest.substr(1).starts_with('+') && !rest.substr(1).starts_with('-')) {
            t.zone = zone;
            return t;
        }
    }
    const bool zoneWord = rest.size() > 1 && rest[0] == '-' &&
                          rest.substr(1).find_first_not_of(
                              "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                              "abcdefghijklmnopqrstuvwxyz") == std::string_view::npos;
    return zoneWord ? std::optional<TimeOfDay>(t) : std::nullopt;
}

// A time, and "AM" or "PM" after it when the server keeps a 12-hour clock: 12 AM is midnight,
// 12 PM noon, and an hour a 12-hour clock does not show is refused. `next` is set to the field
// after them.
std::optional<TimeOfDay> ParseClockTime(const std::vector<Token>& t, std::size_t i,
                                        std::size_t& next) {
    next = i + 1;
    if (i >= t.size())
        return std::nullopt;
    std::optional<TimeOfDay> time = ParseTimeOfDay(t[i].text);
    if (!time || next >= t.size())
        return time;
    const std::string meridiem = Upper(t[next].text);
    if (meridiem != "AM" && meridiem != "PM")
        return time;
    ++next;
    if (time->hour < 1 || time->hour > 12)
        return std::nullopt;
    time->hour = static_cast<std::uint16_t>(time->hour % 12 + (meridiem == "PM" ? 12 : 0));
    return time;
}

// A year of up to five digits; two digits stand for 1950..2049.
std::optional<std::uint16_t> ParseYear(std::string_view text) {
    const auto year = ParseNumber(text);
    if (!year || text.size() != 2)
        return year;
    return static_cast<std::uint16_t>(*year + (*year < 50 ? 2000 : 1900));
}

std::optional<DaytimeReply> MakeReply(std::optional<std::uint16_t> year, int month,
                                      std::optional<std::uint16_t> day,
                                      const std::optional<TimeOfDay>& time,
                                      std::optional<std::int32_t> zone) {
    if (!year || month == 0 || !day || !time || *year == 0)
        return std::nullopt;
    const Moment m{*year, month, *day, time->hour, time->minute, time->second, 0};
    if (!IsValidMoment(m))
        return std::nullopt;
    DaytimeReply r;
    r.value = {*year,
               static_cast<std::uint16_t>(month),
               0,
               *day,
               time->hour,
               time->minute,
               time->second,
               time->millisecond};
    r.hasFraction = time->hasFraction;
    r.utcOffsetMinutes = time->zone ? time->zone : zone;
    return r;
}

std::optional<std::int32_t> ZoneAt(const std::vector<Token>& tokens, std::size_t i) {
    return i < tokens.size() ? ParseZone(tokens[i].text) : std::nullopt;
}

// "dd MMM yyyy hh:mm:ss [AM|PM] [zone]", its date and time separated by single blanks.
std::optional<DaytimeReply> ParseDayFirst(std::string_view line, const std::vector<Token>& t,
                                          std::size_t first) {
    if (t.size() < first + 4)
        return std::nullopt;
    const std::string_view dateAndTime = line.substr(0, t[first + 3].end);
    if (dateAndTime.find("  ") != std::string_view::npos ||
        dateAndTime.find('\t') != std::string_view::npos)
        return std::nullopt;
    std::size_t next = 0;
    const auto time = ParseClockTime(t, first + 3, next);
    return MakeReply(ParseYear(t[first + 2].text), MonthOf(t[first + 1].text),
                     ParseNumber(t[first].text), time, ZoneAt(t, next));
}

// "Mmm dd hh:mm:ss [zone] yyyy [zone]" (ctime, date(1)) or "Month dd, yyyy hh:mm:ss[-zone]", the
// time possibly followed by AM or PM.
std::optional<DaytimeReply> ParseMonthFirst(const std::vector<Token>& t, std::size_t first) {
    if (t.size() < first + 4)
        return std::nullopt;
    const int month = MonthOf(t[first].text);
    const auto day = ParseNumber(WithoutComma(t[first + 1].text));
    std::size_t next = 0;
    if (const auto time = ParseClockTime(t, first + 2, next)) {
        auto zone = ZoneAt(t, next);
        if (zone || (next + 1 < t.size() && !ParseNumber(t[next].text)))
            ++next;  // a zone, named or not, stands between the time and the year
        if (next >= t.size())
            return std::nullopt;
        if (!zone)
            zone = ZoneAt(t, next + 1);
        return MakeReply(ParseYear(t[next].text), month, day, time, zone);
    }
    const auto time = ParseClockTime(t, first + 3, next);
    return MakeReply(ParseYear(WithoutComma(t[first + 2].text)), month, day, time, ZoneAt(t, next));
}

}  // namespace

std::optional<ServerAddress> ParseServerAddress(std::string_view text, std::uint16_t defaultPort) {
    ServerAddress address;
    address.port = defaultPort;
    std::string_view port;
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        address.host = text.substr(1, close - 1);
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty() && (rest[0] != ':' || rest.size() == 1))
            return std::nullopt;
        port = rest.empty() ? rest : rest.substr(1);
    } else if (const std::size_t colon = text.find(':');
               colon != std::string_view::npos && text.find(':', colon + 1) == std::string::npos) {
        address.host = text.substr(0, colon);
        port = text.substr(colon + 1);
        if (port.empty())
            return std::nullopt;
    } else {
        address.host = text;
    }
    if (address.host.empty() || address.host.find_first_of(kWhiteSpace) != std::string::npos)
        return std::nullopt;
    if (!port.empty()) {
        const auto number = ParseDecimal(port, 65535);
        if (!number || *number == 0 || port.size() > 5)
            return std::nullopt;
        address.port = static_cast<std::uint16_t>(*number);
    }
    return address;
}

std::string GetMonthNumber(std::string_view abbreviation) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEPT", "OCT", "NOV", "DEC"};
    const std::string upper = Upper(abbreviation);
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (upper == kMonths[i])
            return std::to_string(i + 1);
    }
    return "";
}

std::optional<DaytimeReply> ParseDaytimeReply(std::string_view reply) {
    reply.remove_prefix(std::min(reply.size(), reply.find_first_not_of(kLineEnds)));
    std::string_view line = TrimEnd(reply.substr(0, reply.find_first_of(kLineEnds)), kBlanks);
    line.remove_prefix(std::min(line.size(), line.find_first_not_of(kBlanks)));
    const std::vector<Token> tokens = Tokens(line);
    const std::size_t first = !tokens.empty() && IsWeekday(tokens[0].text) ? 1 : 0;
    if (first < tokens.size() && ParseNumber(tokens[first].text))
        return ParseDayFirst(line, tokens, first);
    return ParseMonthFirst(tokens, first);
}

std::optional<NistReply> ParseNistDaytimeReply(std::string_view reply) {
    reply.remove_prefix(std::min(reply.size(), reply.find_first_not_of(kWhiteSpace)));
    reply = TrimEnd(reply, kWhiteSpace);
    if (reply.find_first_of(kLineEnds) != std::string_view::npos)
        return std::nullopt;  // only white space may follow the line
    const std::vector<Token> fields = Tokens(reply);
    if (fields.size() < 8 || fields.size() > 9)
        return std::nullopt;
    const std::vector<std::string> date = SplitFields(fields[1].text, '-');
    const std::vector<std::string> time = SplitFields(fields[2].text, ':');
    if (date.size() != 3 || time.size() != 3)
        return std::nullopt;
    const auto mjd =
        fields[0].text.size() == 5 ? ParseDecimal(fields[0].text, 99999) : std::nullopt;
    const auto yy = ParseFixed(date[0], 2);
    const auto month = ParseFixed(date[1], 2);
    const auto day = ParseFixed(date[2], 2);
    const auto hour = ParseFixed(time[0], 2);
    const auto minute = ParseFixed(time[1], 2);
    const auto second = ParseFixed(time[2], 2);
    const auto dst = ParseFixed(fields[3].text, 2);
    const auto leap = ParseFixed(fields[4].text, 1);  // 0 none, 1 and 2 a leap second to come
    const auto health = ParseFixed(fields[5].text, 1);
    const auto advance = ParseAdvance(fields[6].text);
    const std::string_view label = fields[7].text;
    if (!mjd || !yy || !month || !day || !hour || !minute || !second || !dst || !leap || !health ||
        !advance || *leap > 2 || label != "UTC(NIST)" ||
        (fields.size() == 9 && fields[8].text != "*" && fields[8].text != "#"))
        return std::nullopt;

    // The day number carries the century that the two-digit year leaves out.
    const Moment fromDayNumber = CivilMoment((static_cast<std::int64_t>(*mjd) - 40587) * 86400000);
    Moment m = fromDayNumber;
    m.hour = *hour;
    m.minute = *minute;
    m.second = *second;
    if (fromDayNumber.year % 100 != *yy || fromDayNumber.month != *month ||
        fromDayNumber.day != *day || !IsValidMoment(m))
        return std::nullopt;

    const ClockValue utc{
        static_cast<std::uint16_t>(m.year), *month, 0, *day, *hour, *minute, *second, 0};
    return NistReply{utc, *health, *advance};
}

}  // namespace horalia
