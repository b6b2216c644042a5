#include "calendar/working_days.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/holiday_notices.h"

namespace horalia {
namespace {

// The lines of the shipped notices that name a day (not a note or a blank).
int DayLines(std::string_view text) {
    int lines = 0;
    for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
        lines += text[at] >= '0' && text[at] <= '9';
        if (text.find('\n', at) == std::string_view::npos) {
            break;
        }
    }
    return lines;
}

TEST(WorkingDayCalendar, EveryLineOfTheNoticesIsTakenAndTheirYearsAreKnown) {
    WorkingDayCalendar calendar;
    EXPECT_GT(DayLines(kHolidayNotices), 90);
    EXPECT_EQ(calendar.AddFileText(kHolidayNotices), DayLines(kHolidayNotices));
    for (const int year : {2024, 2025, 2026}) {
        EXPECT_TRUE(calendar.KnowsYear(year)) << year;
    }
    EXPECT_FALSE(calendar.KnowsYear(2023));
    EXPECT_FALSE(calendar.KnowsYear(2027));
}

TEST(WorkingDayCalendar, The2026NoticeAroundNationalDay) {
    const WorkingDayCalendar calendar;
    const struct {
        int month, day;
        bool working;
    } days[] = {
        {9, 18, true},   {9, 19, false}, {9, 20, true},  // Sunday worked
        {9, 24, true},   {9, 25, false},                 // Mid-Autumn, a Friday
        {9, 26, false},  {9, 27, false}, {9, 28, true},  {9, 30, true},
        {10, 1, false},  {10, 2, false}, {10, 5, false}, {10, 6, false},
        {10, 7, false},  {10, 8, true},  {10, 9, true},  {10, 10, true},  // Saturday worked
        {10, 11, false}, {10, 12, true},
    };
    for (const auto& d : days) {
        EXPECT_EQ(calendar.IsWorkingDay(2026, d.month, d.day), d.working)
            << "2026-" << d.month << "-" << d.day;
    }
    // A year without a notice: Monday to Friday.
    EXPECT_TRUE(calendar.IsWorkingDay(2027, 1, 1));   // a Friday
    EXPECT_FALSE(calendar.IsWorkingDay(2027, 1, 2));  // a Saturday
}

TEST(WorkingDayCalendar, APersonsFileInTheEncodingsEditorsSaveAndItsBadLines) {
    const std::string gbkOff = "\xD0\xDD";
    const std::string gbkWorked = "\xB0\xE0";
    // 2026-10-01 worked and 2026-10-12 off, as each editor saves the two lines.
    const auto utf16 = [](bool bigEndian) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const char16_t c : std::u16string(u"2026-10-01 班\r\n2026-10-12 休\r\n")) {
            const char high = static_cast<char>(c >> 8);
            const char low = static_cast<char>(c & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    };
    const struct {
        const char* name;
        std::string bytes;
        int taken;
    } files[] = {
        {"UTF-8", "2026-10-01 班\n2026-10-12 休\n", 2},
        {"UTF-8 with a mark and CRLF",
         "\xEF\xBB\xBF"
         "2026-10-01 班\r\n2026-10-12 休\r\n",
         2},
        {"GBK", "2026-10-01 " + gbkWorked + "\r\n2026-10-12 " + gbkOff + " 年假\r\n", 2},
        {"UTF-16LE", utf16(false), 2},
        {"UTF-16BE", utf16(true), 2},
        {"notes, blanks and bad lines around them",
         "# 我的假期\n\n  2026-10-01\t班  值班\n2026-02-30 休\n2026-9-1 休\n2026-10-0l 休\n"
         "2026-10-03休\n2026-10-03 休息\n2026-10-03 放\n2026-10-03\n2026/10/03 班\n"
         "\xFF\xFE\n2026-10-12 休",
         2},
    };
    for (const auto& f : files) {
        WorkingDayCalendar calendar;
        EXPECT_EQ(calendar.AddFileText(f.bytes), f.taken) << f.name;
        EXPECT_TRUE(calendar.IsWorkingDay(2026, 10, 1)) << f.name;
        EXPECT_FALSE(calendar.IsWorkingDay(2026, 10, 12)) << f.name;
        EXPECT_FALSE(calendar.IsWorkingDay(2026, 10, 3)) << f.name;  // untouched by bad lines
        EXPECT_TRUE(calendar.IsWorkingDay(2026, 9, 1)) << f.name;
    }
    // Nonsense of every kind is skipped without harm.
    WorkingDayCalendar calendar;
    EXPECT_EQ(calendar.AddFileText(std::string("\0\0\xFF\n\xFE\xFF", 6)), 0);
    EXPECT_EQ(calendar.AddFileText("\xFF\xFE\x32"), 0);  // half a UTF-16 unit
    EXPECT_EQ(calendar.AddFileText("0000-00-00 休\n9999-12-31 班\n"), 1);
    EXPECT_TRUE(calendar.IsWorkingDay(9999, 12, 31));
}

TEST(HolidayFilePath, BesideValueIni) {
    EXPECT_EQ(HolidayFilePath("C:\\Tools\\Horalia\\Value.ini"), "C:\\Tools\\Horalia\\节假日.txt");
    EXPECT_EQ(HolidayFilePath("/home/li/.config/horalia/Value.ini"),
              "/home/li/.config/horalia/节假日.txt");
    EXPECT_EQ(HolidayFilePath("Value.ini"), "节假日.txt");
}

}  // namespace
}  // namespace horalia
