// A local or UTC date and time as Windows' SYSTEMTIME, and back.
#pragma once

#include <windows.h>

#include "common/moment.h"

namespace horalia::win32 {

// The weekday filled in for the date and time formatting functions.
inline SYSTEMTIME ToSystemTime(const Moment& m) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(m.year);
    st.wMonth = static_cast<WORD>(m.month);
    st.wDay = static_cast<WORD>(m.day);
    st.wDayOfWeek = static_cast<WORD>(DayOfWeek(m));
    st.wHour = static_cast<WORD>(m.hour);
    st.wMinute = static_cast<WORD>(m.minute);
    st.wSecond = static_cast<WORD>(m.second);
    st.wMilliseconds = static_cast<WORD>(m.millisecond);
    return st;
}

inline Moment FromSystemTime(const SYSTEMTIME& st) {
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

// The years SYSTEMTIME and the zone functions accept.
inline bool FitsSystemTime(const Moment& m) {
    return m.year >= 1601 && m.year <= 30827;
}

}  // namespace horalia::win32
