#include "timesync/daytime.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace horalia {
namespace {

// Lines as real servers send them: Debian's xinetd (zone word after the time) and openbsd-inetd
// (ctime), date(1), and the two examples of the Daytime protocol's own description. Where a line
// comes from elsewhere, its comment says so.
TEST(ParseDaytimeReply, ReadsTheLayoutsOfRealServers) {
    struct Case {
        std::string reply;
        ClockValue expected;
        std::optional<std::int32_t> zone;
    };
    const Case cases[] = {
        {"08 DEC 2026 05:04:56 UTC\r\n", {2026, 12, 0, 8, 5, 4, 56, 0}, 0},
        {"15 SEP 2026 10:00:01 UTC\r\n", {2026, 9, 0, 15, 10, 0, 1, 0}, 0},
        {"08 DEC 2026 14:36:55 CST\r\n", {2026, 12, 0, 8, 14, 36, 55, 0}, std::nullopt},
        {"Tue Dec  8 01:36:30 2026\r\n", {2026, 12, 0, 8, 1, 36, 30, 0}, std::nullopt},
        {"Tue Dec  8 06:36:30 UTC 2026", {2026, 12, 0, 8, 6, 36, 30, 0}, 0},
        {"Tuesday, February 22, 1982 17:37:43-PST", {1982, 2, 0, 22, 17, 37, 43, 0}, std::nullopt},
        {"02 FEB 82 07:59:01 PST", {1982, 2, 0, 2, 7, 59, 1, 0}, std::nullopt},
        // Real programs, from public captures: FreeBSD's inetd (Stevens, Unix Network
        // Programming, 2.12) and a Linux inetd answering a telnet (German Wikipedia's example).
        {"Mon Jul 28 11:56:22 2003\r\n", {2003, 7, 0, 28, 11, 56, 22, 0}, std::nullopt},
        {"Fri February 24 17:52:30 CET 2006", {2006, 2, 0, 24, 17, 52, 30, 0}, std::nullopt},
        // Windows' Simple TCP/IP Services on a 12-hour locale, as a report quotes it (not a
        // capture of ours): 12 AM is midnight, 12 PM noon.
        {"Tuesday, December 08, 2026 1:20:54 PM\r\n",
         {2026, 12, 0, 8, 13, 20, 54, 0},
         std::nullopt},
        {"Tuesday, December 08, 2026 12:05:00 AM", {2026, 12, 0, 8, 0, 5, 0, 0}, std::nullopt},
        {"Tuesday, December 08, 2026 12:05:00 PM", {2026, 12, 0, 8, 12, 5, 0, 0}, std::nullopt},
        {"08 dec 2026 11:59:59 pm UTC", {2026, 12, 0, 8, 23, 59, 59, 0}, 0},
        {"Tue Dec  8 1:20:54 PM 2026", {2026, 12, 0, 8, 13, 20, 54, 0}, std::nullopt},
        // A zone written onto the time after '-' or '+'.
        {"Tuesday, December 08, 2026 14:29:51-UTC", {2026, 12, 0, 8, 14, 29, 51, 0}, 0},
        {"08 DEC 2026 05:04:56-GMT", {2026, 12, 0, 8, 5, 4, 56, 0}, 0},
        {"08 DEC 2026 13:04:56+0800", {2026, 12, 0, 8, 13, 4, 56, 0}, 8 * 60},
        // Blanks around the line, as around the other layouts.
        {"  08 DEC 2026 05:04:56 UTC  \r\n", {2026, 12, 0, 8, 5, 4, 56, 0}, 0},
        {"\t06 DEC 2026 15:40:07", {2026, 12, 0, 6, 15, 40, 7, 0}, std::nullopt},
        // The layout the settings' server speaks, and variants of it people write.
        {"6 dec 2026 8:05:09 more text", {2026, 12, 0, 6, 8, 5, 9, 0}, std::nullopt},
        {"\n06 DEC 2026 15:40:07 \r\n", {2026, 12, 0, 6, 15, 40, 7, 0}, std::nullopt},
        {"30 Sept 2026 23:59:59", {2026, 9, 0, 30, 23, 59, 59, 0}, std::nullopt},
        {"1 jan 1 0:00:00", {1, 1, 0, 1, 0, 0, 0, 0}, std::nullopt},
        {"29 FEB 2000 12:00:00 +0800", {2000, 2, 0, 29, 12, 0, 0, 0}, 8 * 60},
        {"31 jul 2026 01:02:03:45", {2026, 7, 0, 31, 1, 2, 3, 0}, std::nullopt},
        {"Tue, 08 Dec 2026 05:04:56.25 -05:00", {2026, 12, 0, 8, 5, 4, 56, 250}, -5 * 60},
        {"Dec 8 05:04:56Z 26", {2026, 12, 0, 8, 5, 4, 56, 0}, 0},
        {"December 8, 2026 05:04:56 GMT+05:30", {2026, 12, 0, 8, 5, 4, 56, 0}, 5 * 60 + 30},
    };
    for (const auto& c : cases) {
        const auto r = ParseDaytimeReply(c.reply);
        ASSERT_TRUE(r.has_value()) << c.reply;
        EXPECT_EQ(r->value, c.expected) << c.reply;
        EXPECT_EQ(r->hasFraction, c.expected.milliseconds != 0) << c.reply;
        EXPECT_EQ(r->utcOffsetMinutes, c.zone) << c.reply;
    }
}

TEST(ParseDaytimeReply, RejectsMalformedOrImpossibleReplies) {
    const std::string cases[] = {
        "",
        "06  DEC 2026 15:40:07",
        "06 DEC\t2026 15:40:07",
        "06 DEC 2026",
        "06 DEC 2026 15:40",
        "06 XYZ 2026 15:40:07",
        "65536 DEC 2026 15:40:07",
        "06 DEC 65536 15:40:07",
        "+5 DEC 2026 15:40:07",
        "0x1F DEC 2026 15:40:07",
        "06 DEC 2026 15:-1:07",
        "06 DEC 2026 15::07",
        "06 DEC 2026 15:40:07x",
        "06 DEC 2026 15:40:07.",
        "31 APR 2026 10:00:00",
        "29 FEB 2026 10:00:00",
        "29 FEB 1900 10:00:00",
        "0 DEC 2026 10:00:00",
        "06 DEC 0 10:00:00",
        "06 DEC 2026 24:00:00",
        "06 DEC 2026 23:60:00",
        "Tue Dec  8 01:36:30",
        "Tue Dec 31 01:36:30 2026-",
        "Tue Dec 32 01:36:30 2026",
        "Dec 8, 2026",
        // Cut off at the timeout, or numbers short of their digits.
        "08 Dec 2026 14:30:5",
        "Tue Dec  8 13:20:5",
        "6 dec 2026 8:5:09",
        "1 jan 1 0:0:0",
        "06 DEC 2026 015:40:07",
        // A 12-hour clock shows 1 to 12.
        "Tuesday, December 08, 2026 13:20:54 PM",
        "Tuesday, December 08, 2026 0:20:54 AM",
        "08 DEC 2026 00:05:00 AM",
        // A sign that joins no zone.
        "08 DEC 2026 05:04:56--0800",
        "08 DEC 2026 05:04:56+",
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

// Lines time.nist.gov and its sister servers sent, copied from public captures (programs' comments,
// READMEs and blog posts quoting `nc time.nist.gov 13`): the leading line end, the blank after the
// marker (one or two, or none where a capture lost it), and the advance padded to five characters.
TEST(ParseNistDaytimeReply, ReadsNistsLinesAsSent) {
    struct Case {
        std::string reply;
        ClockValue utc;
        std::int32_t advance;
    };
    const Case cases[] = {
        {"\n53604 05-08-22 02:57:53 50 0 0 725.6 UTC(NIST) * \n",
         {2005, 8, 0, 22, 2, 57, 53, 0},
         725},
        {"59890 22-11-07 14:05:58 00 0 0  54.9 UTC(NIST) * ", {2022, 11, 0, 7, 14, 5, 58, 0}, 54},
        {"58374 18-09-13 17:35:57 50 0 0  97.7 UTC(NIST) *  ", {2018, 9, 0, 13, 17, 35, 57, 0}, 97},
        {"58973 20-05-04 00:54:43 50 0 0   7.7 UTC(NIST) *", {2020, 5, 0, 4, 0, 54, 43, 0}, 7},
        {"57991 17-08-26 13:39:06 50 0 0   0.0 UTC(NIST) *", {2017, 8, 0, 26, 13, 39, 6, 0}, 0},
        {"60654 24-12-10 08:19:07 00 0 0 816.6 UTC(NIST) * ", {2024, 12, 0, 10, 8, 19, 7, 0}, 816},
        {"49010 93-01-23 22:01:22 00 0 0 50.0 UTC(NIST) *", {1993, 1, 0, 23, 22, 1, 22, 0}, 50},
        {"\n60966 25-10-18 06:49:19 16 0 0 724.2 UTC(NIST) *\n",
         {2025, 10, 0, 18, 6, 49, 19, 0},
         724},
        {"61281 26-08-29 23:31:43 50 0 0 771.1 UTC(NIST) *", {2026, 8, 0, 29, 23, 31, 43, 0}, 771},
        {"52384 02-04-20 13:55:29 50 0 0   9.2 UTC(NIST) *", {2002, 4, 0, 20, 13, 55, 29, 0}, 9},
        {"59133 20-10-11 15:17:56 22 0 0 642.5 UTC(NIST) *", {2020, 10, 0, 11, 15, 17, 56, 0}, 642},
        {"\r\n61381 26-12-07 09:07:02 50 1 2 745.3 UTC(NIST) #\r\n",
         {2026, 12, 0, 7, 9, 7, 2, 0},
         745},
    };
    for (const Case& c : cases) {
        const auto r = ParseNistDaytimeReply(c.reply);
        ASSERT_TRUE(r.has_value()) << c.reply;
        EXPECT_EQ(r->utc, c.utc) << c.reply;
        EXPECT_EQ(r->advanceMilliseconds, c.advance) << c.reply;
        EXPECT_EQ(r->health, c.advance == 745 ? 2 : 0) << c.reply;
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
        "61381 26-12-07 09:07:02 00 3 0 50.0 UTC(NIST) *",
        "61381 26-12-07 09:07:02 00 0 0 50.0 UTC(NIST) x",
        "61381 26-12-07 09:07:02 00 0 0 50.0 UTC(NIST) **",
        "61381 26-12-07 09:07:02 00 0 0 50.0 UTC(USNO) *",
        "61381 26-12-07 09:07:02 00 0 0 50.0 UTC() *",
        "61381 26-12-07 09:07:02 00 0 0 5.0.0 UTC(NIST) *",
        "61381 26-12-07 09:07:02 00 0 0 -1 UTC(NIST) *",
        "61381 26-12-07 09:07:02 0 0 0 50.0 UTC(NIST) *",
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
