// A local date and time as the C library's broken-down time, and back.
#pragma once

#include <ctime>

#include "common/moment.h"

namespace horalia {

// The weekday filled in for strftime; tm_isdst -1 lets the zone's rule for that date decide.
inline std::tm ToTm(const Moment& m) {
    std::tm t{};
    t.tm_year = m.year - 1900;
    t.tm_mon = m.month - 1;
    t.tm_mday = m.day;
    t.tm_hour = m.hour;
    t.tm_min = m.minute;
    t.tm_sec = m.second;
    t.tm_wday = DayOfWeek(m);
    t.tm_isdst = -1;
    return t;
}

inline Moment FromTm(const std::tm& t, int millisecond) {
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, millisecond};
}

}  // namespace horalia
