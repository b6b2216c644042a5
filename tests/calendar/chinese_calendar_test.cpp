// The Chinese calendar against references nobody here wrote. The program's tables come from
// lunar-javascript (calendar/tools/make_lunar_data.mjs); these tests hold them against two other
// computations, made by the same script into tests/calendar/data/: date-chinese (run in UTC+8)
// for the lunar month of every day, astronomia (VSOP87 less ΔT, in UTC+8) for every solar term.
// ICU 72, the third reference, is compared in the script only: calendar/tools/REFERENCES.md.
#include "calendar/chinese_calendar.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>
#include <vector>

namespace horalia {
namespace {

using std::chrono::sys_days;
using std::chrono::year_month_day;

struct ReferenceMonth {
    int year, month, day;  // the civil date of its first day
    int lunarYear, lunarMonth, leap;
};
constexpr ReferenceMonth kDateChineseMonths[] = {
#include "calendar/data/date_chinese_months.inc"
};

struct ReferenceTerms {
    int year;
    std::array<int, 24> days;  // from 小寒 to 冬至; term i falls in month i / 2 + 1
};
constexpr ReferenceTerms kAstronomiaTerms[] = {
#include "calendar/data/astronomia_terms.inc"
};

sys_days Civil(int year, int month, int day) {
    return year_month_day{std::chrono::year{year}, std::chrono::month(static_cast<unsigned>(month)),
                          std::chrono::day(static_cast<unsigned>(day))};
}

struct Ymd {
    int year, month, day;
};
Ymd Fields(sys_days t) {
    const year_month_day ymd{t};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

// Where date-chinese parts from lunar-javascript, and so from this program; ICU agrees with
// lunar-javascript on every one of these days.
//  1914, 1916, 1920: a new moon minutes after midnight by Meeus's formula; date-chinese takes
//    the next day.
//  2033: date-chinese puts a 闰七月 (the first month without a major term of the civil year)
//    where the others have 闰冬月 (the first of the span from 冬至 to 冬至).
//  2057: the new moon at 23:59:57 UTC+8 (astronomia); date-chinese makes 09-28 九月初一, the
//    others 09-29.
constexpr std::array<std::array<Ymd, 2>, 5> kDateChineseDisagreements = {{
    {{{1914, 11, 17}, {1914, 12, 16}}},
    {{{1916, 2, 3}, {1916, 3, 3}}},
    {{{1920, 11, 10}, {1920, 12, 9}}},
    {{{2033, 8, 25}, {2033, 12, 21}}},
    {{{2057, 9, 28}, {2057, 10, 27}}},
}};

bool KnownToDisagree(sys_days t) {
    for (const auto& [from, to] : kDateChineseDisagreements) {
        if (t >= Civil(from.year, from.month, from.day) && t <= Civil(to.year, to.month, to.day)) {
            return true;
        }
    }
    return false;
}

TEST(ChineseCalendar_LunarDateOf, EveryDayOfTheRangeAgreesWithDateChineseButWhereKnown) {
    int days = 0;
    int disagreements = 0;
    const std::size_t months = std::size(kDateChineseMonths);
    for (std::size_t i = 0; i < months; ++i) {
        const ReferenceMonth& s = kDateChineseMonths[i];
        const ReferenceMonth* next = i + 1 < months ? &kDateChineseMonths[i + 1] : nullptr;
        const sys_days end = next ? Civil(next->year, next->month, next->day) : Civil(2101, 1, 1);
        int lunarDay = 1;
        for (sys_days t = Civil(s.year, s.month, s.day); t < end; ++t, ++lunarDay, ++days) {
            const Ymd d = Fields(t);
            const std::optional<LunarDate> ours = LunarDateOf(d.year, d.month, d.day);
            ASSERT_TRUE(ours) << d.year << "-" << d.month << "-" << d.day;
            if (*ours != LunarDate{s.lunarYear, s.lunarMonth, s.leap == 1, lunarDay}) {
                ++disagreements;
                EXPECT_TRUE(KnownToDisagree(t))
                    << d.year << "-" << d.month << "-" << d.day << ": ours " << ours->month
                    << (ours->leap ? " (leap) " : " ") << ours->day << ", date-chinese "
                    << s.lunarMonth << (s.leap ? " (leap) " : " ") << lunarDay;
            }
        }
    }
    EXPECT_EQ(days, 73'000);  // 1901-02-19 to 2100-12-31
    EXPECT_EQ(disagreements, 30 + 30 + 30 + 119 + 30);
}

TEST(ChineseCalendar_LunarDateOf, LeapMonthsThatCalendarsGetWrongAndTheRangesEnds) {
    // As lunar-javascript and date-chinese have them; ICU 72 puts 1987's leap month after 七月.
    struct Case {
        Ymd day;
        std::optional<LunarDate> expected;
    };
    const Case cases[] = {
        {{1987, 7, 26}, LunarDate{1987, 6, true, 1}},
        {{1987, 8, 24}, LunarDate{1987, 7, false, 1}},
        {{2033, 8, 25}, LunarDate{2033, 8, false, 1}},
        {{2033, 12, 22}, LunarDate{2033, 11, true, 1}},
        {{2020, 5, 23}, LunarDate{2020, 4, true, 1}},
        {{2014, 10, 24}, LunarDate{2014, 9, true, 1}},
        {{2057, 9, 29}, LunarDate{2057, 9, false, 1}},
        {{1901, 2, 19}, LunarDate{1901, 1, false, 1}},
        {{2100, 12, 31}, LunarDate{2100, 12, false, 1}},
        // Outside the range, and days that do not exist: nothing, never a guess.
        {{1901, 2, 18}, {}},
        {{2101, 1, 1}, {}},
        {{2023, 2, 29}, {}},
        {{2024, 4, 31}, {}},
        {{2024, 13, 1}, {}},
        {{2024, 1, 0}, {}},
        {{-5, 1, 1}, {}},
    };
    for (const auto& [d, expected] : cases) {
        EXPECT_EQ(LunarDateOf(d.year, d.month, d.day), expected) << d.year << d.month << d.day;
        if (!expected) {
            EXPECT_TRUE(FestivalsOn(d.year, d.month, d.day).empty());
        }
    }
}

TEST(ChineseCalendar_SolarTermOn, EveryTermOfEveryYearOnAstronomiasDayAndNoOtherDay) {
    for (const ReferenceTerms& year : kAstronomiaTerms) {
        std::vector<std::string> expected;
        for (std::size_t i = 0; i < 24; ++i) {
            expected.push_back(std::to_string(i / 2 + 1) + "-" + std::to_string(year.days[i]) +
                               std::string(kSolarTermNames[i]));
        }
        std::vector<std::string> found;
        for (sys_days t = Civil(year.year, 1, 1); t <= Civil(year.year, 12, 31); ++t) {
            const Ymd d = Fields(t);
            if (const std::string_view term = SolarTermOn(d.year, d.month, d.day); !term.empty()) {
                found.push_back(std::to_string(d.month) + "-" + std::to_string(d.day) +
                                std::string(term));
            }
        }
        EXPECT_EQ(found, expected) << year.year;
    }
    // 冬至 2026 comes at 04:50 on 22 December in China, 15:50 on the 21st in New York; calendars
    // print the China date, and the table knows no other (tests/say runs the program under
    // TZ=America/New_York and Asia/Shanghai).
    EXPECT_EQ(SolarTermOn(2026, 12, 22), "冬至");
    EXPECT_EQ(SolarTermOn(2026, 4, 5), "清明");  // 02:40 in China, the 4th in UTC
    EXPECT_EQ(SolarTermOn(1900, 12, 22), "");
    EXPECT_EQ(SolarTermOn(2101, 1, 5), "");
    EXPECT_EQ(SolarTermOn(2026, 2, 30), "");
}

TEST(ChineseCalendar_Year, StemBranchAndAnimal) {
    std::string years;
    for (const int year : {1901, 1984, 2025, 2026, 2027, 2043, 2100}) {
        years += std::string(HeavenlyStemOf(year)) + std::string(EarthlyBranchOf(year)) +
                 std::string(ZodiacAnimalOf(year)) + " ";
    }
    EXPECT_EQ(years, "辛丑牛 甲子鼠 乙巳蛇 丙午马 丁未羊 癸亥猪 庚申猴 ");
    // The lunar year turns at 正月初一, not on 1 January.
    EXPECT_EQ(LunarDateOf(2026, 2, 16)->year, 2025);
    EXPECT_EQ(LunarDateOf(2026, 2, 17)->year, 2026);
}

TEST(ChineseCalendar_FestivalsOn, TheDaysOfEachFestival) {
    struct Case {
        Ymd day;
        std::vector<std::string_view> festivals;
    };
    const Case cases[] = {
        {{2027, 2, 6}, {"春节"}},
        {{2023, 2, 5}, {"元宵节"}},
        {{2023, 6, 22}, {"端午节"}},
        {{2023, 8, 22}, {"七夕"}},
        {{2023, 9, 29}, {"中秋节"}},
        {{2023, 10, 23}, {"重阳节"}},
        {{2024, 1, 18}, {"腊八节"}},
        {{2025, 1, 1}, {"元旦"}},
        {{2025, 5, 1}, {"劳动节"}},
        {{2024, 2, 9}, {"除夕"}},   // 腊月三十
        {{2026, 2, 16}, {"除夕"}},  // 腊月廿九: this 腊月 has 29 days
        {{2026, 2, 15}, {}},        // 廿八
        {{2020, 10, 1}, {"中秋节", "国庆节"}},
        {{2009, 6, 27}, {}},  // 闰五月初五 is no 端午
    };
    for (const auto& [d, festivals] : cases) {
        EXPECT_EQ(FestivalsOn(d.year, d.month, d.day), festivals) << d.year << d.month << d.day;
    }
}

TEST(ChineseCalendar_Names, MonthsAndDaysAsPeopleSayThem) {
    std::string months;
    for (int month = 0; month <= 13; ++month) {
        months += LunarMonthName(month, month == 6) + " ";
    }
    EXPECT_EQ(months, " 正月 二月 三月 四月 五月 闰六月 七月 八月 九月 十月 冬月 腊月  ");
    std::string days;
    for (int day = 0; day <= 31; ++day) {
        days += LunarDayName(day) + " ";
    }
    EXPECT_EQ(days,
              " 初一 初二 初三 初四 初五 初六 初七 初八 初九 初十 十一 十二 十三 十四 十五 十六 "
              "十七 十八 十九 二十 二十一 二十二 二十三 二十四 二十五 二十六 二十七 二十八 二十九 "
              "三十  ");
}

}  // namespace
}  // namespace horalia
