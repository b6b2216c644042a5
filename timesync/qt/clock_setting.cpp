#include "timesync/qt/clock_setting.h"

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

std::optional<std::int64_t> TargetMilliseconds(const ClockValue& value, ClockBase base,
                                               const ZoneClock& zone) {
    const Moment m{value.year,   value.month,  value.day,         value.hour,
                   value.minute, value.second, value.milliseconds};
    if (base == ClockBase::kUtc) {
        return CivilMilliseconds(m);
    }
    return zone.FromLocal(m);
}

}  // namespace horalia::qt
