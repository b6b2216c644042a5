#include "timesync/qt/clock_setting.h"

#include <ctime>

namespace horalia::qt {

ClockSettingMethod ChooseClockSetting(const TimedatedState& timedated, bool maySetClock) {
    if (timedated.reachable && (timedated.ntp || timedated.ntpSynchronized)) {
        return ClockSettingMethod::LeaveAlone;
    }
    if (maySetClock) {
        return ClockSettingMethod::SetDirectly;
    }
    return timedated.reachable ? ClockSettingMethod::AskTimedated : ClockSettingMethod::NoWay;
}

std::optional<std::int64_t> TargetMilliseconds(const ClockValue& value, ClockBase base) {
    const Moment m{value.year,   value.month,  value.day,         value.hour,
                   value.minute, value.second, value.milliseconds};
    if (base == ClockBase::kUtc) {
        return CivilMilliseconds(m);
    }
    std::tm local{};
    local.tm_year = m.year - 1900;
    local.tm_mon = m.month - 1;
    local.tm_mday = m.day;
    local.tm_hour = m.hour;
    local.tm_min = m.minute;
    local.tm_sec = m.second;
    local.tm_isdst = -1;  // the zone's rule for that date decides
    const std::time_t seconds = std::mktime(&local);
    if (seconds == static_cast<std::time_t>(-1)) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(seconds) * 1000 + m.millisecond;
}

}  // namespace horalia::qt
