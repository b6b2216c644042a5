#include "config/schedule_values.h"

#include <gtest/gtest.h>

#include "config/quiet_periods.h"

namespace horalia {
namespace {

// written: as FormatQuietPeriods writes what was read, nullptr when refused; named: the period
// the message then names.
TEST(ReadQuietPeriods, OneOrSeveralPeriodsAndAMessageNamingTheBadOne) {
    const struct {
        const char *text, *written, *named;
    } cases[] = {
        {"", "", nullptr},
        {"22:00-07:00", "22:00-07:00", nullptr},
        {" 7:05 - 9:00 , 23:30-6:05 ", "07:05-09:00,23:30-06:05", nullptr},
        {"12：00－13：30，22:00-07:00", "12:00-13:30,22:00-07:00", nullptr},  // full-width
        {"12:00-13:30,24:00-07:00", nullptr, "24:00-07:00"},
        {"12:00-13:30,07:00-07:00", nullptr, "07:00-07:00"},
        {"12:00-13:30,", nullptr, ""},
        {"12:00", nullptr, "12:00"},
        {"12:00-13:00-14:00", nullptr, "12:00-13:00-14:00"},
        {"12:00-13:30;22:00-07:00", nullptr, "12:00-13:30;22:00-07:00"},
    };
    for (const auto& c : cases) {
        const QuietPeriodsReading reading = ReadQuietPeriods(c.text);
        EXPECT_EQ(reading.Ok(), c.written != nullptr) << c.text << ": " << reading.problem;
        if (c.written) {
            EXPECT_EQ(FormatQuietPeriods(reading.periods), c.written) << c.text;
        } else {
            EXPECT_TRUE(reading.periods.empty()) << c.text;
            EXPECT_NE(reading.problem.find(std::string("“") + c.named + "”"), std::string::npos)
                << reading.problem;
        }
    }
    EXPECT_NE(ReadQuietPeriods("08:00-08:00").problem.find("相同"), std::string::npos);
}

TEST(ParseAnnounceInterval, TheFiveIntervalsOrEmpty) {
    for (const char* good : {"", " ", "5", "10", " 15 ", "20", "30"}) {
        const std::optional<std::int32_t> minutes = ParseAnnounceInterval(good);
        ASSERT_TRUE(minutes) << good;
        EXPECT_EQ(ParseAnnounceInterval(FormatAnnounceInterval(*minutes)), minutes);
    }
    for (const char* bad : {"0", "60", "7", "05", "-5", "10分"}) {
        EXPECT_FALSE(ParseAnnounceInterval(bad)) << bad;
    }
}

TEST(ParseAnnouncementDays, WeekdaysRangesAndWorkingDays) {
    using Kind = AnnouncementDays::Kind;
    const struct {
        const char* text;
        std::optional<AnnouncementDays> days;
        const char* written;
    } cases[] = {
        {" ", AnnouncementDays{}, ""},
        {" 工作日 ", AnnouncementDays{Kind::kWorkingDays, 0}, "工作日"},
        {"1-5,7", AnnouncementDays{Kind::kWeekdays, 0b1011111}, "1-5,7"},
        {"1,2,3,4,5", AnnouncementDays{Kind::kWeekdays, 0b0011111}, "1-5"},
        {"7， 6", AnnouncementDays{Kind::kWeekdays, 0b1100000}, "6,7"},
        {"3-3,2-4", AnnouncementDays{Kind::kWeekdays, 0b0001110}, "2-4"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseAnnouncementDays(c.text), c.days) << c.text;
        EXPECT_EQ(FormatAnnouncementDays(*c.days), c.written) << c.text;
    }
    for (const char* bad : {"0", "8", "5-1", "1-", "1,,2", "10", "周一", "工作日,6"}) {
        EXPECT_FALSE(ParseAnnouncementDays(bad)) << bad;
    }
}

}  // namespace
}  // namespace horalia
