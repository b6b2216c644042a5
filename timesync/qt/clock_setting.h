// How the Linux program sets the clock from a server's reply: the choice of method, kept apart from
// the system calls so that it can be tested.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

#include "timesync/daytime.h"

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
};

// NTP on wins over everything; then the process's own right; then timedated; with neither there
// is no way to set the clock.
ClockSettingMethod ChooseClockSetting(const TimedatedState& timedated, bool maySetClock);

// The value as local time in seconds since the epoch (daylight saving time as the zone has it on
// that day); nothing for a value mktime cannot represent.
std::optional<std::time_t> LocalSecondsSinceEpoch(const ClockValue& value);

}  // namespace horalia::qt
