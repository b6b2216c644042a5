#include "timesync/daytime.h"

#include <gtest/gtest.h>

#include <string>

namespace horalia {
namespace {

struct GoodCase {
    std::string reply;
    ClockValue expected;
};

TEST(ParseDaytimeReply, AcceptsWellFormedReplies) {
    const GoodCase cases[] = {
        {"6 dec 2026 8:05:09 more text", {2026, 12, 0, 6, 8, 5, 9, 0}},
        {"06 DEC 2026 15:40:07", {2026, 12, 0, 6, 15, 40, 7, 0}},
        {"06 DEC 2026 15:40:07\r\n", {2026, 12, 0, 6, 15, 40, 7, 0}},
        {"06 DEC 2026 15:40:07 \r\n", {2026, 12, 0, 6, 15, 40, 7, 0}},
        {"06 DEC 2026 15:40:07\n", {2026, 12, 0, 6, 15, 40, 7, 0}},
        {"30 Sept 2026 23:59:59", {2026, 9, 0, 30, 23, 59, 59, 0}},
        {"1 jan 1 0:0:0", {1, 1, 0, 1, 0, 0, 0, 0}},
        {"29 FEB 2024 12:00:00", {2024, 2, 0, 29, 12, 0, 0, 0}},
        {"29 FEB 2000 12:00:00", {2000, 2, 0, 29, 12, 0, 0, 0}},
        {"31 jul 2026 01:02:03:45", {2026, 7, 0, 31, 1, 2, 3, 0}},
    };
    for (const auto& c : cases) {
        auto value = ParseDaytimeReply(c.reply);
        ASSERT_TRUE(value.has_value()) << c.reply;
        EXPECT_EQ(*value, c.expected) << c.reply;
    }
}

TEST(ParseDaytimeReply, RejectsMalformedOrImpossibleReplies) {
    const std::string cases[] = {
        "",
        " 06 DEC 2026 15:40:07",
        "06  DEC 2026 15:40:07",
        "06 DEC 2026",
        "06 DEC 2026 15:40",
        "06 SEP 2026 15:40:07",
        "06 XYZ 2026 15:40:07",
        "65536 DEC 2026 15:40:07",
        "06 DEC 65536 15:40:07",
        "+5 DEC 2026 15:40:07",
        "0x1F DEC 2026 15:40:07",
        "06 DEC 2026 15:-1:07",
        "06 DEC 2026 15::07",
        "06 DEC 2026 15:40:07x",
        "31 APR 2026 10:00:00",
        "29 FEB 2026 10:00:00",
        "29 FEB 1900 10:00:00",
        "0 DEC 2026 10:00:00",
        "06 DEC 0 10:00:00",
        "06 DEC 2026 24:00:00",
        "06 DEC 2026 23:60:00",
        "06 DEC 2026 23:59:60",
        "61014 26-12-06 15:40:07 00 0 0 895.5 UTC(NIST) *",
        std::string("06 DEC 2026 15:40:0\0"
                    "7",
                    20),
        std::string(5000, 'x'),
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(ParseDaytimeReply(c).has_value()) << c;
    }
}

TEST(ParseNistDaytimeReply, ReadsNistsLineInUtc) {
    struct Case {
        std::string reply;
        ClockValue utc;
        int health;
        std::int32_t advance;
    };
    const Case cases[] = {
        {"\n61381 26-12-07 09:07:02 00 0 0 50.0 UTC(NIST) *\n",
         {2026, 12, 0, 7, 9, 7, 2, 0},
         0,
         50},
        {"61381 26-12-07 23:59:59 00 0 0 0.0 UTC(NIST) *\r\n",
         {2026, 12, 0, 7, 23, 59, 59, 0},
         0,
         0},
        {"61381 26-12-07 09:07:02 50 1 2 745.3 UTC(NIST) #", {2026, 12, 0, 7, 9, 7, 2, 0}, 2, 745},
        {"51544 00-01-01 00:00:00 00 0 0 50.0 UTC(NIST)\n", {2000, 1, 0, 1, 0, 0, 0, 0}, 0, 50},
        {"70000 50-07-13 12:00:00 00 0 0 50.0 UTC(NIST)\n", {2050, 7, 0, 13, 12, 0, 0, 0}, 0, 50},
        {"\n\n61130 26-03-31 12:00:00 50 0 0 50 UTC(NIST) *\n\n",
         {2026, 3, 0, 31, 12, 0, 0, 0},
         0,
         50},
    };
    for (const Case& c : cases) {
        const auto r = ParseNistDaytimeReply(c.reply);
        ASSERT_TRUE(r.has_value()) << c.reply;
        EXPECT_EQ(r->utc, c.utc) << c.reply;
        EXPECT_EQ(r->health, c.health) << c.reply;
        EXPECT_EQ(r->advanceMilliseconds, c.advance) << c.reply;
    }
}

TEST(ParseNistDaytimeReply, RejectsOtherTextAndDatesTheDayNumberContradicts) {
    const std::string cases[] = {
        "",
        "\n",
        "06 DEC 2026 15:40:07\r\n",
        "61382 26-12-07 09:07:02 00 0 0 50.0 UTC(NIST) *",  // the day number is 8 December
        "61381 27-12-07 09:07:02 00 0 0 50.0 UTC(NIST) *",
        "61381 26-12-07 24:00:00 00 0 0 50.0 UTC(NIST) *",
        "61381 26-12-07 9:07:02 00 0 0 50.0 UTC(NIST) *",
        "61381 26-12-07 09:07:02 00 0 0 50.0 UTC(NIST) * more",
        "61381 26-12-07 09:07:02 00 0 0 50.0 NIST *",
        "61381 26-12-07 09:07:02 00 0 0 5.0.0 UTC(NIST) *",
        "61381 26-12-07 09:07:02 00 0 0 -1 UTC(NIST) *",
        "61381 26-12-07 09:07:02 0 0 0 50.0 UTC(NIST) *",
        "61381  26-12-07 09:07:02 00 0 0 50.0 UTC(NIST) *",
        "61381 26-12-07 09:07:02 00 0 0 50.0 UTC(NIST) *\nsecond line",
        "99999 26-12-07 09:07:02 00 0 0 50.0 UTC(NIST) *",
        std::string("61381 26-12-07 09:07:02 00 0 \0 50.0 UTC(NIST) *", 47),
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(ParseNistDaytimeReply(c).has_value()) << c;
    }
}

TEST(GetMonthNumber, MapsAbbreviationsIgnoringCase) {
    const std::pair<std::string, std::string> cases[] = {
        {"JAN", "1"},
        {"feb", "2"},
        {"Aug", "8"},
        {"SEPT", "9"},
        {"sept", "9"},
        {"DEC", "12"},
        {"SEP", ""},
        {"", ""},
        {"JANUARY", ""},
        {"DE", ""},
        {"D\xC3\xA9"
         "C",
         ""},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(GetMonthNumber(input), expected) << input;
    }
}

}  // namespace
}  // namespace horalia
