#include "app/form_timer.h"

#include <gtest/gtest.h>

#include "fakes/virtual_time.h"

namespace horalia {
namespace {

using fakes::At;

TEST(DelayToNextSecond, AimsJustPastTheNextWholeSecond) {
    EXPECT_EQ(DelayToNextSecond({2026, 12, 7, 9, 0, 0, 0}), 1000 + kTickMarginMs);
    EXPECT_EQ(DelayToNextSecond({2026, 12, 7, 9, 0, 0, 975}), 25 + kTickMarginMs);
    EXPECT_EQ(DelayToNextSecond({2026, 12, 7, 9, 0, 0, 999}), 1 + kTickMarginMs);
}

TEST(FormTimer, OnlyAnEnabledTimerArmsAndTicks) {
    fakes::FakeClock clock;
    fakes::FakeTimerPort port;
    port.clock = &clock;
    FormTimer timer(port, clock, 1000);
    EXPECT_FALSE(port.pending);
    EXPECT_FALSE(timer.Fired());  // a stale firing before it was enabled

    timer.SetEnabled(true);
    EXPECT_TRUE(port.pending);
    timer.SetEnabled(true);  // no second arming
    EXPECT_EQ(port.armed.size(), 1u);
    timer.SetEnabled(false);
    EXPECT_FALSE(port.pending);
    EXPECT_FALSE(timer.Fired());
}

TEST(FormTimer, AnEarlyFiringInTheTickedSecondWaitsForTheNext) {
    fakes::FakeClock clock;
    fakes::FakeTimerPort port;
    port.clock = &clock;
    FormTimer timer(port, clock, 1000);
    clock.now = At(2026, 12, 7, 9, 59, 59, 30);
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Fired());
    clock.now = At(2026, 12, 7, 9, 59, 59, 990);
    EXPECT_FALSE(timer.Fired());
    EXPECT_EQ(port.armed.back(), 10 + kTickMarginMs);
    clock.now = At(2026, 12, 7, 10, 0, 0, 35);
    EXPECT_TRUE(timer.Fired());
}

TEST(FormTimer, AClockSetBackStillTicks) {
    fakes::FakeClock clock;
    fakes::FakeTimerPort port;
    port.clock = &clock;
    FormTimer timer(port, clock, 1000);
    timer.SetEnabled(true);
    clock.now = At(2026, 12, 7, 10, 0, 5, 30);
    EXPECT_TRUE(timer.Fired());
    clock.now = At(2026, 12, 7, 10, 0, 4, 30);
    EXPECT_TRUE(timer.Fired());
}

TEST(FormTimer, OtherIntervalsArePlainPeriods) {
    fakes::FakeClock clock;
    fakes::FakeTimerPort port;
    port.clock = &clock;
    FormTimer timer(port, clock, 2000);
    clock.now = At(2026, 12, 7, 10, 0, 0, 456);
    timer.SetEnabled(true);
    EXPECT_EQ(port.armed.back(), 2000);
    EXPECT_TRUE(timer.Fired());
    EXPECT_TRUE(timer.Fired());
    EXPECT_EQ(port.armed.back(), 2000);
}

}  // namespace
}  // namespace horalia
