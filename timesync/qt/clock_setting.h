// How the Linux program sets the clock from a server's reply: the choice of method, kept apart from
// the system calls so that it can be tested.
#pragma once

#include <cstdint>
#include <optional>

#include "common/zone_clock.h"
#include "timesync/time_sync.h"

namespace horalia::qt {

// What systemd-timedated reports, when it answers at all.
struct TimedatedState {
    bool reachable = false;
    bool ntp = false;              // the NTP property: the system keeps its clock in sync
    bool ntpSynchronized = false;  // the NTPSynchronized property: it is in sync now
};

enum class ClockSettingMethod {
    LeaveAlone,    // the system's own synchronisation keeps the clock; setting it would fight it
    SetDirectly,   // clock_settime: the process holds the right to set the clock
    AskTimedated,  // timedated's SetTime, which may ask the user for authorisation
    NoWay,         // neither the right nor timedated
};

// NTP on wins over everything; then the process's own right; then timedated.
ClockSettingMethod ChooseClockSetting(const TimedatedState& timedated, bool maySetClock);

// The value as milliseconds since the epoch: a UTC value as it is, a local one by the zone's rules
// for that day (summer time included); nothing for a local value the zone cannot place.
std::optional<std::int64_t> TargetMilliseconds(const ClockValue& value, ClockBase base,
                                               const ZoneClock& zone);

}  // namespace horalia::qt
