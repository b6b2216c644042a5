#include "timesync/qt/clock_setting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

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
        {"no timedated, no right: no way", {false, false, false}, false, M::LeaveAlone},
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

TEST(LocalSecondsSinceEpoch, TakesTheValueAsLocalTimeWithTheZonesDaylightSaving) {
    struct Case {
        const char* zone;
        ClockValue value;
        std::time_t expected;
    };
    const Case cases[] = {
        {"Asia/Shanghai", {2026, 12, 0, 6, 15, 40, 7, 0}, 1796542807},  // 07:40:07 UTC
        {"Europe/Berlin", {2026, 7, 0, 1, 12, 0, 0, 0}, 1782900000},    // summer: UTC+2
        {"Europe/Berlin", {2026, 1, 0, 15, 12, 0, 0, 0}, 1768474800},   // winter: UTC+1
    };
    for (const Case& c : cases) {
        const InTimeZone zone(c.zone);
        EXPECT_EQ(LocalSecondsSinceEpoch(c.value), c.expected) << c.zone;
    }
}

}  // namespace
}  // namespace horalia::qt
