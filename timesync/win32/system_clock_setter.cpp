#include "timesync/win32/system_clock_setter.h"

namespace horalia::win32 {

SYSTEMTIME ToSystemTime(const ClockValue& value) {
    SYSTEMTIME time{};
    time.wYear = value.year;
    time.wMonth = value.month;
    time.wDayOfWeek = value.dayOfWeek;
    time.wDay = value.day;
    time.wHour = value.hour;
    time.wMinute = value.minute;
    time.wSecond = value.second;
    time.wMilliseconds = value.milliseconds;
    return time;
}

bool SystemClockSetter::SetLocalClock(const ClockValue& value) {
    const SYSTEMTIME time = ToSystemTime(value);
    return SetLocalTime(&time) != FALSE;
}

}  // namespace horalia::win32
