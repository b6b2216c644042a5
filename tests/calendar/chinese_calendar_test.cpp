// The Chinese calendar against references nobody here wrote. The program's tables come from
// lunar-javascript (calendar/tools/make_lunar_data.mjs); these tests hold them against two other
// computations, made by the same script into tests/calendar/data/: date-chinese (run in UTC+8)
// for the lunar month of every day, astronomia (VSOP87 less ΔT, in UTC+8) for every solar term.
// ICU 72, the third reference, is compared in the script only: calendar/tools/REFERENCES.md.
#include "calendar/chinese_calendar.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace horalia {
namespace {

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

// Walks the civil days from a date on.
struct Day {
    int year, month, day;

    void Next() {
        static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leapYear = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        const int length = month == 2 && leapYear ? 29 : kDays[month - 1];
        if (++day > length) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    }
    bool Before(const Day& other) const {
        return std::array{year, month, day} < std::array{other.year, other.month, other.day};
    }
    std::string Text() const {
        return std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day);
    }
};

// The spans where date-chinese parts from lunar-javascript, and so from this program. ICU agrees
// with lunar-javascript on every one of them.
struct KnownDisagreement {
    Day from, to;
    const char* why;
};
constexpr KnownDisagreement kDateChineseDisagreements[] = {
    {{1914, 11, 17}, {1914, 12, 16}, "new moon minutes from midnight: date-chinese a day later"},
    {{1916, 2, 3}, {1916, 3, 3}, "new moon minutes from midnight: date-chinese a day later"},
    {{1920, 11, 10}, {1920, 12, 9}, "new moon minutes from midnight: date-chinese a day later"},
    {{2033, 8, 25},
     {2033, 12, 21},
     "date-chinese leaps after 七月: it takes the year's first "
     "month without a major term, not the 冬至 span's (闰冬月)"},
    {{2057, 9, 28},
     {2057, 10, 27},
     "new moon 23:59:57 UTC+8 (astronomia): date-chinese makes "
     "09-28 九月初一, the others 09-29"},
};

bool KnownToDisagree(const Day& day) {
    for (const KnownDisagreement& span : kDateChineseDisagreements) {
        if (!day.Before(span.from) && !span.to.Before(day)) {
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
        const ReferenceMonth& start = kDateChineseMonths[i];
        const Day end = i + 1 < months
                            ? Day{kDateChineseMonths[i + 1].year, kDateChineseMonths[i + 1].month,
                                  kDateChineseMonths[i + 1].day}
                            : Day{2101, 1, 1};
        Day day{start.year, start.month, start.day};
        for (int lunarDay = 1; day.Before(end); ++lunarDay, day.Next(), ++days) {
            const LunarDate expected{start.lunarYear, start.lunarMonth, start.leap == 1, lunarDay};
            const std::optional<LunarDate> ours = LunarDateOf(day.year, day.month, day.day);
            ASSERT_TRUE(ours) << day.Text();
            if (*ours == expected) {
                continue;
            }
            ++disagreements;
            EXPECT_TRUE(KnownToDisagree(day))
                << day.Text() << ": " << ours->month << (ours->leap ? "(leap)/" : "/") << ours->day
                << ", date-chinese " << expected.month << (expected.leap ? "(leap)/" : "/")
                << expected.day;
        }
    }
    EXPECT_EQ(days, 73'000);  // 1901-02-19 to 2100-12-31
    EXPECT_EQ(disagreements, 30 + 30 + 30 + 119 + 30);
}

TEST(ChineseCalendar_LunarDateOf, LeapMonthsThatCalendarsGetWrong) {
    // Each as lunar-javascript and date-chinese give it; ICU 72 has 1987's leap month after
    // 七月 instead of after 六月.
    struct Case {
        Day day;
        LunarDate expected;
    };
    const Case cases[] = {
        {{1987, 6, 26}, {1987, 6, false, 1}},    {{1987, 7, 25}, {1987, 6, false, 30}},
        {{1987, 7, 26}, {1987, 6, true, 1}},     {{1987, 8, 24}, {1987, 7, false, 1}},
        {{2033, 12, 21}, {2033, 11, false, 30}}, {{2033, 12, 22}, {2033, 11, true, 1}},
        {{2034, 1, 20}, {2033, 12, false, 1}},   {{2033, 8, 25}, {2033, 8, false, 1}},
        {{2020, 5, 22}, {2020, 4, false, 30}},   {{2020, 5, 23}, {2020, 4, true, 1}},
        {{2014, 10, 24}, {2014, 9, true, 1}},    {{2057, 9, 29}, {2057, 9, false, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LunarDateOf(c.day.year, c.day.month, c.day.day), c.expected) << c.day.Text();
    }
}

TEST(ChineseCalendar_LunarDateOf, NothingOutsideTheRangeOrForDaysThatDoNotExist) {
    const Day none[] = {{1901, 2, 18}, {1900, 6, 1}, {2101, 1, 1},  {2150, 3, 3}, {2023, 2, 29},
                        {2024, 4, 31}, {2024, 0, 1}, {2024, 13, 1}, {2024, 1, 0}, {-5, 1, 1}};
    for (const Day& day : none) {
        EXPECT_FALSE(LunarDateOf(day.year, day.month, day.day)) << day.Text();
        EXPECT_TRUE(FestivalsOn(day.year, day.month, day.day).empty()) << day.Text();
    }
    EXPECT_EQ(LunarDateOf(1901, 2, 19), (LunarDate{1901, 1, false, 1}));
    EXPECT_EQ(LunarDateOf(2100, 12, 31), (LunarDate{2100, 12, false, 1}));
    EXPECT_EQ(LunarDateOf(2024, 2, 29), (LunarDate{2024, 1, false, 20}));
}

TEST(ChineseCalendar_SolarTermOn, EveryTermOfEveryYearOnAstronomiasDayAndNoOtherDay) {
    for (const ReferenceTerms& year : kAstronomiaTerms) {
        std::vector<std::string> expected;
        for (std::size_t i = 0; i < 24; ++i) {
            expected.push_back(std::to_string(i / 2 + 1) + "-" + std::to_string(year.days[i]) +
                               std::string(kSolarTermNames[i]));
        }
        std::vector<std::string> found;
        for (Day day{year.year, 1, 1}; day.year == year.year; day.Next()) {
            const std::string_view term = SolarTermOn(day.year, day.month, day.day);
            if (!term.empty()) {
                found.push_back(std::to_string(day.month) + "-" + std::to_string(day.day) +
                                std::string(term));
            }
        }
        EXPECT_EQ(found, expected) << year.year;
    }
    EXPECT_EQ(SolarTermOn(1900, 12, 22), "");
    EXPECT_EQ(SolarTermOn(2101, 1, 5), "");
    EXPECT_EQ(SolarTermOn(2026, 2, 30), "");
}

// 冬至 2026 comes at 04:50 on 22 December in China, 15:50 on the 21st in New York; the table
// knows only China's date, so the zone cannot move it (tests/say runs the program under
// TZ=America/New_York and Asia/Shanghai to show it).
TEST(ChineseCalendar_SolarTermOn, OnTheChinaDate) {
    EXPECT_EQ(SolarTermOn(2026, 12, 22), "冬至");
    EXPECT_EQ(SolarTermOn(2026, 12, 21), "");
    EXPECT_EQ(SolarTermOn(2026, 4, 5), "清明");  // 02:40 in China, the 4th in UTC
    EXPECT_EQ(SolarTermOn(2026, 4, 4), "");
}

TEST(ChineseCalendar_Year, StemBranchAndAnimal) {
    struct Case {
        int year;
        const char* stemBranch;
        const char* animal;
    };
    const Case cases[] = {{1901, "辛丑", "牛"}, {1984, "甲子", "鼠"}, {2025, "乙巳", "蛇"},
                          {2026, "丙午", "马"}, {2027, "丁未", "羊"}, {2043, "癸亥", "猪"},
                          {2100, "庚申", "猴"}};
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(HeavenlyStemOf(c.year)) + std::string(EarthlyBranchOf(c.year)),
                  c.stemBranch)
            << c.year;
        EXPECT_EQ(ZodiacAnimalOf(c.year), c.animal) << c.year;
    }
    // The lunar year turns at 正月初一, not on 1 January.
    EXPECT_EQ(LunarDateOf(2026, 2, 16)->year, 2025);
    EXPECT_EQ(LunarDateOf(2026, 2, 17)->year, 2026);
}

TEST(ChineseCalendar_FestivalsOn, TheDaysOfEachFestival) {
    using Names = std::vector<std::string_view>;
    struct Case {
        Day day;
        Names festivals;
    };
    const Case cases[] = {
        {{2027, 2, 6}, {"春节"}},
        {{2023, 2, 5}, {"元宵节"}},
        {{2023, 6, 22}, {"端午节"}},
        {{2023, 8, 22}, {"七夕"}},
        {{2023, 9, 29}, {"中秋节"}},
        {{2023, 10, 23}, {"重阳节"}},
        {{2024, 1, 18}, {"腊八节"}},
        {{2024, 2, 9}, {"除夕"}},               // 腊月三十
        {{2026, 2, 16}, {"除夕"}},              // 腊月廿九: 腊月 has 29 days
        {{2026, 2, 15}, {}},                    // 廿八
        {{2020, 10, 1}, {"中秋节", "国庆节"}},  // both at once
        {{2025, 1, 1}, {"元旦"}},
        {{2025, 5, 1}, {"劳动节"}},
        {{2009, 6, 27}, {}},  // 闰五月初五 is no 端午
        {{2100, 12, 31}, {}},
        {{1901, 2, 18}, {}},  // 除夕 of a year before the range: nothing is known
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FestivalsOn(c.day.year, c.day.month, c.day.day), c.festivals) << c.day.Text();
    }
}

TEST(ChineseCalendar_Names, MonthsAndDaysAsPeopleSayThem) {
    const std::array<const char*, 13> months = {"",     "正月", "二月", "三月", "四月",
                                                "五月", "六月", "七月", "八月", "九月",
                                                "十月", "冬月", "腊月"};
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(LunarMonthName(month, false), months[static_cast<std::size_t>(month)]);
        EXPECT_EQ(LunarMonthName(month, true),
                  std::string("闰") + months[static_cast<std::size_t>(month)]);
    }
    EXPECT_EQ(LunarMonthName(13, false), "");
    const std::vector<std::string> days = {
        "初一",   "初二",   "初三",   "初四",   "初五",   "初六",   "初七",   "初八",
        "初九",   "初十",   "十一",   "十二",   "十三",   "十四",   "十五",   "十六",
        "十七",   "十八",   "十九",   "二十",   "二十一", "二十二", "二十三", "二十四",
        "二十五", "二十六", "二十七", "二十八", "二十九", "三十"};
    for (int day = 1; day <= 30; ++day) {
        EXPECT_EQ(LunarDayName(day), days[static_cast<std::size_t>(day - 1)]);
    }
    EXPECT_EQ(LunarDayName(0), "");
    EXPECT_EQ(LunarDayName(31), "");
}

}  // namespace
}  // namespace horalia
