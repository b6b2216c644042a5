#include "common/moment.h"

#include <gtest/gtest.h>

#include "common/locale_text.h"
#include "common/zone_clock.h"

namespace horalia {
namespace {

TEST(Moment_DayOfWeek, KnownDates) {
    struct Case {
        int year, month, day, weekday;
    } cases[] = {
        {2026, 12, 6, 0}, {2026, 12, 7, 1}, {2026, 1, 20, 2}, {2005, 10, 1, 6},
        {2000, 2, 29, 2}, {1970, 1, 1, 4},  {2100, 3, 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DayOfWeek(c.year, c.month, c.day), c.weekday)
            << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(Moment_IsValidMoment, RejectsImpossibleDatesAndTimes) {
    EXPECT_TRUE(IsValidMoment({2024, 2, 29, 23, 59, 59, 0}));
    EXPECT_FALSE(IsValidMoment({2026, 2, 29, 0, 0, 0, 0}));
    EXPECT_FALSE(IsValidMoment({2026, 4, 31, 0, 0, 0, 0}));
    EXPECT_FALSE(IsValidMoment({2026, 4, 30, 24, 0, 0, 0}));
    EXPECT_FALSE(IsValidMoment({2026, 13, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(IsValidMoment({2026, 1, 1, 0, 60, 0, 0}));
}

TEST(Moment_FormatDateFields, PadsMonthAndDay) {
    EXPECT_EQ(FormatDateFields({2026, 12, 5, 0, 0, 0, 0}), "2026|12|05");
    EXPECT_EQ(FormatDateFields({2027, 1, 9, 0, 0, 0, 0}), "2027|01|09");
}

TEST(Moment_SplitFields, KeepsEmptyFields) {
    EXPECT_EQ(SplitFields("a|b||c", '|'), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(SplitFields("", '|'), (std::vector<std::string>{""}));
}

TEST(SystemLocale, GivesTheTooltipForms) {
    const Moment m{2026, 12, 7, 13, 45, 30, 0};
    EXPECT_FALSE(SystemLocale().ShortDate(m).empty());
    EXPECT_NE(SystemLocale().LongTime(m).find("45"), std::string::npos);
    EXPECT_TRUE(IsValidMoment(SystemClock().Now()));
}

// In whatever zone the machine is set to, away from a change of summer time.
TEST(SystemZoneClock, FromLocalUndoesToLocal) {
    const ZoneClock& zone = SystemZoneClock();
    for (const UtcMilliseconds instant : {1768478400250LL, 1782907200000LL, 1798741800999LL}) {
        EXPECT_EQ(zone.FromLocal(zone.ToLocal(instant)), instant) << instant;
    }
}

}  // namespace
}  // namespace horalia
