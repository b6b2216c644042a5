#include "timesync/qt/clock_setting.h"

namespace horalia::qt {

ClockSettingMethod ChooseClockSetting(const TimedatedState& timedated, bool maySetClock) {
    if (timedated.reachable && (timedated.ntp || timedated.ntpSynchronized)) {
        return ClockSettingMethod::LeaveAlone;
    }
    if (maySetClock) {
        return ClockSettingMethod::SetDirectly;
    }
    return timedated.reachable ? ClockSettingMethod::AskTimedated : ClockSettingMethod::LeaveAlone;
}

std::optional<std::time_t> LocalSecondsSinceEpoch(const ClockValue& value) {
    std::tm local{};
    local.tm_year = value.year - 1900;
    local.tm_mon = value.month - 1;
    local.tm_mday = value.day;
    local.tm_hour = value.hour;
    local.tm_min = value.minute;
    local.tm_sec = value.second;
    local.tm_isdst = -1;  // the zone's rule for that date decides
    const std::time_t seconds = std::mktime(&local);
    if (seconds == static_cast<std::time_t>(-1)) {
        return std::nullopt;
    }
    return seconds;
}

}  // namespace horalia::qt
