// Setting the computer's clock on Linux. Where systemd-timedated keeps the clock in sync (NTP on),
// the clock is left alone and NTP is never switched off. Otherwise the clock is set with
// clock_settime when the process holds CAP_SYS_TIME, or else through timedated's SetTime over the
// system bus, which lets the desktop ask the user for authorisation when they asked for the
// synchronisation (the hourly one never opens such a dialog).
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

#include "timesync/qt/clock_setting.h"
#include "timesync/time_sync.h"

namespace horalia::qt {

class SystemClockSetter final : public ClockSetter {
  public:
    // Where timedated's answer goes after kAsked.
    void OnAnswer(std::function<void(ClockSetResult)> answered) { answered_ = std::move(answered); }

    ClockSetResult SetClock(const ClockValue& value, ClockBase base, bool mayAsk) override;

  private:
    std::function<void(ClockSetResult)> answered_;
    QObject context_;
};

}  // namespace horalia::qt
