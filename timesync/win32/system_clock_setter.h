// Setting the computer's clock on Windows: SetSystemTime for a UTC value, SetLocalTime for a local
// one.
#pragma once

#include <windows.h>

#include "timesync/time_sync.h"

namespace horalia::win32 {

// The eight fields in SYSTEMTIME's order: year, month, day of week, day, hour, minute, second,
// milliseconds.
SYSTEMTIME ToSystemTime(const ClockValue& value);

class SystemClockSetter final : public ClockSetter {
  public:
    // kNotAllowed without the right to set the clock, kRefused for a value Windows rejects; the
    // clock is then unchanged.
    ClockSetResult SetClock(const ClockValue& value, ClockBase base, bool mayAsk) override;
};

}  // namespace horalia::win32
