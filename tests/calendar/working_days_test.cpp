#include "calendar/working_days.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/holiday_notices.h"

namespace horalia {
namespace {

TEST(WorkingDayCalendar, EveryLineOfTheNoticesIsTakenAndTheirYearsAreKnown) {
    int dayLines = 0;  // lines that start with a digit: every other one is a note or blank
    for (std::string_view rest = kHolidayNotices; !rest.empty();) {
        dayLines += rest[0] >= '0' && rest[0] <= '9';
        rest.remove_prefix(std::min(rest.size(), rest.find('\n') + 1));
    }
    WorkingDayCalendar calendar;
    EXPECT_GT(dayLines, 90);
    EXPECT_EQ(calendar.AddFileText(kHolidayNotices), dayLines);
    EXPECT_TRUE(calendar.KnowsYear(2024) && calendar.KnowsYear(2025) && calendar.KnowsYear(2026));
    EXPECT_FALSE(calendar.KnowsYear(2023) || calendar.KnowsYear(2027));
    EXPECT_EQ(HolidayFilePath("C:\\Tools\\Horalia\\Value.ini"), "C:\\Tools\\Horalia\\节假日.txt");
    EXPECT_EQ(HolidayFilePath("/home/li/.config/horalia/Value.ini"),
              "/home/li/.config/horalia/节假日.txt");
}

// 2026-10-01 worked and 2026-10-12 off, as each editor saves the two lines.
TEST(WorkingDayCalendar, APersonsFileInTheEncodingsEditorsSaveAndItsBadLines) {
    const auto utf16 = [](bool bigEndian) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const char16_t c : std::u16string(u"2026-10-01 班\r\n2026-10-12 休\r\n")) {
            const char high = static_cast<char>(c >> 8);
            const char low = static_cast<char>(c & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    };
    const std::pair<const char*, std::string> files[] = {
        {"UTF-8", "2026-10-01 班\n2026-10-12 休"},
        {"UTF-8 with a mark, CRLF",
         "\xEF\xBB\xBF"
         "2026-10-01 班\r\n2026-10-12 休\r\n"},
        {"GBK", "2026-10-01 \xB0\xE0\r\n2026-10-12 \xD0\xDD 年假\r\n"},
        {"UTF-16LE", utf16(false)},
        {"UTF-16BE", utf16(true)},
        {"notes and bad lines",
         "# 我的假期\n\n  2026-10-01\t班  值班\n2026-02-30 休\n2026-9-1 休\n2026-10-0l 休\n"
         "2026-10-03休\n2026-10-03 休息\n2026-10-03 放\n2026-10-03\n2026/10/03 班\n\xFF\xFE\n"
         "2026-10-12 休"},
    };
    for (const auto& [name, bytes] : files) {
        WorkingDayCalendar calendar;
        EXPECT_EQ(calendar.AddFileText(bytes), 2) << name;
        EXPECT_TRUE(calendar.IsWorkingDay(2026, 10, 1)) << name;
        EXPECT_FALSE(calendar.IsWorkingDay(2026, 10, 12)) << name;
        EXPECT_FALSE(calendar.IsWorkingDay(2026, 10, 3)) << name;  // untouched by bad lines
        EXPECT_TRUE(calendar.IsWorkingDay(2026, 9, 1)) << name;
    }
    WorkingDayCalendar calendar;
    EXPECT_EQ(calendar.AddFileText(std::string("\0\0\xFF\n\xFE\xFF", 6)), 0);
    EXPECT_EQ(calendar.AddFileText("\xFF\xFE\x32"), 0);  // half a UTF-16 unit
    EXPECT_EQ(calendar.AddFileText("0000-00-00 休\n9999-12-31 班\n"), 1);
}

}  // namespace
}  // namespace horalia
