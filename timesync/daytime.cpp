#include "timesync/daytime.h"

#include <array>

#include "common/moment.h"

namespace horalia {
namespace {

// Plain decimal digits only, no sign, no blanks, not empty, at most 65535.
std::optional<std::uint16_t> ParseNumber(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
        if (value > 0xFFFFu)
            return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
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

}  // namespace horalia
