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

ClockSetResult SystemClockSetter::SetClock(const ClockValue& value, ClockBase base,
                                           bool /*mayAsk*/) {
    const SYSTEMTIME time = ToSystemTime(value);
    const BOOL set = base == ClockBase::kUtc ? SetSystemTime(&time) : SetLocalTime(&time);
    if (set != FALSE)
        return ClockSetResult::kSet;
    return GetLastError() == ERROR_PRIVILEGE_NOT_HELD ? ClockSetResult::kNotAllowed
                                                      : ClockSetResult::kRefused;
}

}  // namespace horalia::win32
