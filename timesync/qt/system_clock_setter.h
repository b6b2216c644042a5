// Setting the computer's clock on Linux. Where systemd-timedated keeps the clock in sync (NTP on),
// the clock is left alone and NTP is never switched off. Otherwise the clock is set with
// clock_settime when the process holds CAP_SYS_TIME, or else through timedated's SetTime over the
// system bus, which lets the desktop ask the user for authorisation; a refusal is silent.
#pragma once

#include "timesync/qt/clock_setting.h"
#include "timesync/time_sync.h"

namespace horalia::qt {

class SystemClockSetter final : public LocalClockSetter {
  public:
    // True only when this call set the clock. A request to timedated is answered later, after the
    // user's authorisation, and that answer is not waited for: the call then returns false.
    bool SetLocalClock(const ClockValue& value) override;
};

}  // namespace horalia::qt
