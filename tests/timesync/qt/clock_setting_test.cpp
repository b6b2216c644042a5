#include "timesync/qt/clock_setting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "common/zone_clock.h"

namespace horalia::qt {
namespace {

struct MethodCase {
    const char* name;
    TimedatedState timedated;
    bool maySetClock;
    ClockSettingMethod expected;
};

TEST(ChooseClockSetting, NtpOnWinsThenTheProcessRightThenTimedated) {
    using M = ClockSettingMethod;
    const MethodCase cases[] = {
        {"NTP on, even with the right", {true, true, false}, true, M::LeaveAlone},
        {"in sync by NTP", {true, false, true}, true, M::LeaveAlone},
        {"NTP on, no right", {true, true, true}, false, M::LeaveAlone},
        {"NTP off, with the right", {true, false, false}, true, M::SetDirectly},
        {"no timedated, with the right", {false, false, false}, true, M::SetDirectly},
        {"NTP off, no right", {true, false, false}, false, M::AskTimedated},
        {"no timedated, no right: no way", {false, false, false}, false, M::NoWay},
    };
    for (const MethodCase& c : cases) {
        EXPECT_EQ(ChooseClockSetting(c.timedated, c.maySetClock), c.expected) << c.name;
    }
}

// Runs the test body in a given time zone and restores the process's zone afterwards.
class InTimeZone {
  public:
    explicit InTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            old_ = old;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~InTimeZone() {
        if (old_) {
            setenv("TZ", old_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

  private:
    std::optional<std::string> old_;
};

TEST(TargetMilliseconds, UtcAsItIsLocalByTheZonesRulesForThatDay) {
    struct Case {
        const char* zone;
        ClockValue value;
        ClockBase base;
        std::int64_t expected;
    };
    const Case cases[] = {
        {"Asia/Shanghai", {2026, 12, 0, 6, 15, 40, 7, 250}, ClockBase::kLocal, 1796542807250},
        {"Europe/Berlin", {2026, 7, 0, 1, 12, 0, 0, 0}, ClockBase::kLocal, 1782900000000},   // +2
        {"Europe/Berlin", {2026, 1, 0, 15, 12, 0, 0, 0}, ClockBase::kLocal, 1768474800000},  // +1
        {"Europe/Berlin", {2026, 1, 0, 15, 12, 0, 0, 0}, ClockBase::kUtc, 1768478400000},
    };
    for (const Case& c : cases) {
        const InTimeZone zone(c.zone);
        EXPECT_EQ(TargetMilliseconds(c.value, c.base, SystemZoneClock()), c.expected) << c.zone;
    }
}

// The C library's rules through the TZ variable: summer time, half-hour zones, the new year.
TEST(SystemZoneClock, ToLocalFollowsTheZoneRules) {
    struct Case {
        const char* zone;
        UtcMilliseconds instant;
        Moment local;
    };
    const Case cases[] = {
        {"Europe/Berlin", 1782907200123, {2026, 7, 1, 14, 0, 0, 123}},
        {"Europe/Berlin", 1768478400000, {2026, 1, 15, 13, 0, 0, 0}},
        {"Asia/Kolkata", 1798741800000, {2027, 1, 1, 0, 0, 0, 0}},
        {"Australia/Adelaide", 1798724700000, {2027, 1, 1, 0, 15, 0, 0}},
        {"America/St_Johns", 1798768800000, {2026, 12, 31, 22, 30, 0, 0}},
    };
    for (const Case& c : cases) {
        const InTimeZone zone(c.zone);
        EXPECT_EQ(SystemZoneClock().ToLocal(c.instant), c.local) << c.zone;
    }
}

}  // namespace
}  // namespace horalia::qt
