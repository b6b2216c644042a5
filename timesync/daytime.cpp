#include "timesync/daytime.h"

#include <array>
#include <vector>

#include "common/moment.h"
#include "common/zone_clock.h"

namespace horalia {
namespace {

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

// The field starting at `pos` up to the next separator (or the end); advances `pos` past it.
std::string_view NextField(std::string_view text, std::size_t& pos, char separator) {
    std::size_t end = text.find(separator, pos);
    if (end == std::string_view::npos)
        end = text.size();
    std::string_view field = text.substr(pos, end - pos);
    pos = end + 1;
    return field;
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

// Exactly `digits` decimal digits.
std::optional<std::uint16_t> ParseFixed(std::string_view text, std::size_t digits) {
    return text.size() == digits ? ParseNumber(text) : std::nullopt;
}

std::string_view TrimLineEnd(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::string GetMonthNumber(std::string_view abbreviation) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEPT", "OCT", "NOV", "DEC"};
    std::string upper(abbreviation);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (upper == kMonths[i])
            return std::to_string(i + 1);
    }
    return "";
}

std::optional<ClockValue> ParseDaytimeReply(std::string_view reply) {
    std::array<std::string_view, 4> fields;
    std::size_t pos = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (pos > reply.size())
            return std::nullopt;  // fewer than four fields
        fields[i] = NextField(reply, pos, ' ');
    }

    std::string_view time = fields[3];
    std::array<std::string_view, 3> parts;
    std::size_t tpos = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (tpos > time.size())
            return std::nullopt;  // fewer than three time parts
        parts[i] = NextField(time, tpos, ':');
    }
    parts[2] = TrimLineEnd(parts[2]);

    const std::string month = GetMonthNumber(fields[1]);
    if (month.empty())
        return std::nullopt;
    auto day = ParseNumber(fields[0]);
    auto year = ParseNumber(fields[2]);
    auto hour = ParseNumber(parts[0]);
    auto minute = ParseNumber(parts[1]);
    auto second = ParseNumber(parts[2]);
    auto monthNumber = ParseNumber(month);
    if (!day || !year || !hour || !minute || !second || !monthNumber)
        return std::nullopt;

    Moment m;
    m.year = *year;
    m.month = *monthNumber;
    m.day = *day;
    m.hour = *hour;
    m.minute = *minute;
    m.second = *second;
    if (m.year == 0 || !IsValidMoment(m))
        return std::nullopt;

    return ClockValue{*year, *monthNumber, 0, *day, *hour, *minute, *second, 0};
}

std::optional<NistReply> ParseNistDaytimeReply(std::string_view reply) {
    while (!reply.empty() && (reply.front() == '\n' || reply.front() == '\r'))
        reply.remove_prefix(1);
    const std::size_t lineEnd = reply.find_first_of("\r\n");
    if (lineEnd != std::string_view::npos) {
        // Only line ends may follow the line.
        if (reply.find_first_not_of("\r\n", lineEnd) != std::string_view::npos)
            return std::nullopt;
        reply = reply.substr(0, lineEnd);
    }
    const std::vector<std::string> fields = SplitFields(reply, ' ');
    if (fields.size() < 8 || fields.size() > 9)
        return std::nullopt;
    const std::vector<std::string> date = SplitFields(fields[1], '-');
    const std::vector<std::string> time = SplitFields(fields[2], ':');
    if (date.size() != 3 || time.size() != 3)
        return std::nullopt;
    const auto mjd = ParseDecimal(fields[0], 99999);
    const auto yy = ParseFixed(date[0], 2);
    const auto month = ParseFixed(date[1], 2);
    const auto day = ParseFixed(date[2], 2);
    const auto hour = ParseFixed(time[0], 2);
    const auto minute = ParseFixed(time[1], 2);
    const auto second = ParseFixed(time[2], 2);
    const auto dst = ParseFixed(fields[3], 2);
    const auto leap = ParseFixed(fields[4], 1);
    const auto health = ParseFixed(fields[5], 1);
    const auto advance = ParseAdvance(fields[6]);
    const std::string& label = fields[7];
    if (!mjd || fields[0].size() != 5 || !yy || !month || !day || !hour || !minute || !second ||
        !dst || !leap || !health || !advance || !label.starts_with("UTC(") ||
        !label.ends_with(")") || (fields.size() == 9 && fields[8].size() != 1))
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
