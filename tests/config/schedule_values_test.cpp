#include "config/schedule_values.h"

#include <gtest/gtest.h>

#include "config/quiet_periods.h"

namespace horalia {
namespace {

TEST(ReadQuietPeriods, OneOrSeveralPeriodsAndAMessageNamingTheBadOne) {
    const struct {
        const char* text;
        const char* written;  // as FormatQuietPeriods writes what was read; nullptr: refused
        const char* named;    // the period the message names
    } cases[] = {
        {"", "", nullptr},
        {"  ", "", nullptr},
        {"22:00-07:00", "22:00-07:00", nullptr},
        {"12:00-13:30,22:00-07:00", "12:00-13:30,22:00-07:00", nullptr},
        {" 7:05 - 9:00 , 23:30-6:05 ", "07:05-09:00,23:30-06:05", nullptr},
        {"12：00－13：30，22:00-07:00", "12:00-13:30,22:00-07:00", nullptr},  // full-width
        {"00:00-23:59,23:59-00:00", "00:00-23:59,23:59-00:00", nullptr},
        {"12:00-13:30,24:00-07:00", nullptr, "24:00-07:00"},
        {"12:00-13:30,22:00-07:60", nullptr, "22:00-07:60"},
        {"12:00-13:30,07:00-07:00", nullptr, "07:00-07:00"},
        {"12:00-13:30,", nullptr, ""},
        {"12:00", nullptr, "12:00"},
        {"12:00-13:00-14:00", nullptr, "12:00-13:00-14:00"},
        {"noon-13:00", nullptr, "noon-13:00"},
        {"12:00-13:30;22:00-07:00", nullptr, "12:00-13:30;22:00-07:00"},
    };
    for (const auto& c : cases) {
        const QuietPeriodsReading reading = ReadQuietPeriods(c.text);
        if (c.written) {
            EXPECT_TRUE(reading.Ok()) << c.text << ": " << reading.problem;
            EXPECT_EQ(FormatQuietPeriods(reading.periods), c.written) << c.text;
            EXPECT_EQ(ReadQuietPeriods(c.written).periods, reading.periods) << c.text;
        } else {
            EXPECT_FALSE(reading.Ok()) << c.text;
            EXPECT_TRUE(reading.periods.empty()) << c.text;
            EXPECT_NE(reading.problem.find(std::string("“") + c.named + "”"), std::string::npos)
                << c.text << ": " << reading.problem;
        }
    }
    // Equal times have a message of their own.
    EXPECT_NE(ReadQuietPeriods("08:00-08:00").problem.find("相同"), std::string::npos);
}

TEST(ParseAnnounceInterval, TheFiveIntervalsOrEmpty) {
    const struct {
        const char* text;
        std::optional<std::int32_t> minutes;
    } cases[] = {
        {"", 0},
        {"  ", 0},
        {"5", 5},
        {"10", 10},
        {" 15 ", 15},
        {"20", 20},
        {"30", 30},
        {"0", std::nullopt},
        {"60", std::nullopt},
        {"7", std::nullopt},
        {"05", std::nullopt},
        {"-5", std::nullopt},
        {"10分", std::nullopt},
        {"ten", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseAnnounceInterval(c.text), c.minutes) << c.text;
        if (c.minutes) {
            EXPECT_EQ(ParseAnnounceInterval(FormatAnnounceInterval(*c.minutes)), c.minutes);
        }
    }
}

TEST(ParseAnnouncementDays, WeekdaysRangesAndWorkingDays) {
    using Kind = AnnouncementDays::Kind;
    const struct {
        const char* text;
        std::optional<AnnouncementDays> days;
        const char* written;
    } cases[] = {
        {"", AnnouncementDays{}, ""},
        {" ", AnnouncementDays{}, ""},
        {"工作日", AnnouncementDays{Kind::kWorkingDays, 0}, "工作日"},
        {" 工作日 ", AnnouncementDays{Kind::kWorkingDays, 0}, "工作日"},
        {"1-5", AnnouncementDays{Kind::kWeekdays, 0b0011111}, "1-5"},
        {"1-5,7", AnnouncementDays{Kind::kWeekdays, 0b1011111}, "1-5,7"},
        {"1,2,3,4,5", AnnouncementDays{Kind::kWeekdays, 0b0011111}, "1-5"},
        {"6，7", AnnouncementDays{Kind::kWeekdays, 0b1100000}, "6,7"},
        {"7, 1", AnnouncementDays{Kind::kWeekdays, 0b1000001}, "1,7"},
        {"3-3,2-4", AnnouncementDays{Kind::kWeekdays, 0b0001110}, "2-4"},
        {"1-7", AnnouncementDays{Kind::kWeekdays, 0b1111111}, "1-7"},
        {"0", std::nullopt, nullptr},
        {"8", std::nullopt, nullptr},
        {"5-1", std::nullopt, nullptr},
        {"1-", std::nullopt, nullptr},
        {"1,,2", std::nullopt, nullptr},
        {"10", std::nullopt, nullptr},
        {"周一", std::nullopt, nullptr},
        {"工作日,6", std::nullopt, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseAnnouncementDays(c.text), c.days) << c.text;
        if (c.days) {
            EXPECT_EQ(FormatAnnouncementDays(*c.days), c.written) << c.text;
        }
    }
}

}  // namespace
}  // namespace horalia
