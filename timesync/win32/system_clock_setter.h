// Setting the computer's clock on Windows with kernel32 SetLocalTime.
#pragma once

#include <windows.h>

#include "timesync/time_sync.h"

namespace horalia::win32 {

// The eight fields in SYSTEMTIME's order: year, month, day of week, day, hour, minute, second,
// milliseconds.
SYSTEMTIME ToSystemTime(const ClockValue& value);

class SystemClockSetter final : public LocalClockSetter {
  public:
    // SetLocalTime's own answer: false without the right to set the clock or for a value it
    // rejects, and then the clock is unchanged.
    bool SetLocalClock(const ClockValue& value) override;
};

}  // namespace horalia::win32
