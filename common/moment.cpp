#include "common/moment.h"

#include <cstdio>

namespace horalia {

int DayOfWeek(int year, int month, int day) {
    // Days from civil (Howard Hinnant's algorithm); 1970-01-01 was a Thursday.
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yoe = year - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long days = static_cast<long>(era) * 146097 + doe - 719468;
    const long weekday = (days + 4) % 7;
    return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool IsValidMoment(const Moment& m) {
    return m.year >= 1 && m.year <= 9999 && m.month >= 1 && m.month <= 12 && m.day >= 1 &&
           m.day <= DaysInMonth(m.year, m.month) && m.hour >= 0 && m.hour <= 23 && m.minute >= 0 &&
           m.minute <= 59 && m.second >= 0 && m.second <= 59 && m.millisecond >= 0 &&
           m.millisecond <= 999;
}

std::string FormatDateFields(const Moment& m) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d|%02d|%02d", m.year, m.month, m.day);
    return text;
}

std::vector<std::string> SplitFields(std::string_view text, char separator) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        fields.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            return fields;
        }
        start = end + 1;
    }
}

}  // namespace horalia
