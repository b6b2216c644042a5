#include "voice/schedule.h"

#include <gtest/gtest.h>

#include <set>

namespace horalia {
namespace {

const std::array<std::int32_t, 5> kHours = {1, 2, 6, 0, 0};

Moment TimeOfDay(int hour, int minute, int second) {
    Moment m;
    m.year = 2026;
    m.month = 12;
    m.day = 6;
    m.hour = hour;
    m.minute = minute;
    m.second = second;
    return m;
}

// The hours whose first second is due over one simulated day.
std::set<int> DueHours(std::int32_t frequency, const std::array<std::int32_t, 5>& hours) {
    std::set<int> due;
    for (int hour = 0; hour < 24; ++hour) {
        if (IsAnnouncementDue(TimeOfDay(hour, 0, 0), frequency, hours)) {
            due.insert(hour);
        }
    }
    return due;
}

std::set<int> EveryHour() {
    std::set<int> all;
    for (int hour = 0; hour < 24; ++hour) {
        all.insert(hour);
    }
    return all;
}

TEST(IsAnnouncementDue, FrequencySelectsTheHours) {
    EXPECT_EQ(DueHours(0, kHours), EveryHour());
    EXPECT_EQ(DueHours(1, kHours), (std::set<int>{0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22}));
    EXPECT_EQ(DueHours(2, kHours), (std::set<int>{0, 6, 12, 18}));
}

TEST(IsAnnouncementDue, OnlyTheFirstSecondOfTheHour) {
    for (const std::int32_t frequency : {0, 1, 2}) {
        EXPECT_TRUE(IsAnnouncementDue(TimeOfDay(12, 0, 0), frequency, kHours));
        EXPECT_FALSE(IsAnnouncementDue(TimeOfDay(10, 0, 1), frequency, kHours));
        EXPECT_FALSE(IsAnnouncementDue(TimeOfDay(10, 30, 0), frequency, kHours));
        EXPECT_FALSE(IsAnnouncementDue(TimeOfDay(12, 1, 0), frequency, kHours));
        EXPECT_FALSE(IsAnnouncementDue(TimeOfDay(0, 59, 59), frequency, kHours));
    }
    // Within the second the milliseconds do not matter.
    Moment late = TimeOfDay(14, 0, 0);
    late.millisecond = 999;
    EXPECT_TRUE(IsAnnouncementDue(late, 1, kHours));
    EXPECT_FALSE(IsAnnouncementDue(TimeOfDay(15, 0, 0), 1, kHours));
    EXPECT_FALSE(IsAnnouncementDue(TimeOfDay(3, 0, 0), 2, kHours));
}

TEST(IsAnnouncementDue, UnusableFrequencyCountsAsEveryHour) {
    for (const std::int32_t frequency : {-1, 3, 4, 5, 99, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(DueHours(frequency, kHours), EveryHour()) << frequency;
        EXPECT_FALSE(IsAnnouncementDue(TimeOfDay(10, 30, 0), frequency, kHours)) << frequency;
    }
    // A hand-edited table with a zero or negative interval in a selected slot.
    EXPECT_EQ(DueHours(1, {1, 0, 6, 0, 0}), EveryHour());
    EXPECT_EQ(DueHours(2, {1, 2, -6, 0, 0}), EveryHour());
    EXPECT_EQ(DueHours(4, {1, 2, 6, 0, 8}), (std::set<int>{0, 8, 16}));
}

}  // namespace
}  // namespace horalia
