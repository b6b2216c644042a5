#include "voice/clip_sequence.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace horalia {
namespace {

// "今天是 二 零" -> {"今天是", "二", "零"}
std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

Moment At(int year, int month, int day, int hour, int minute, int second = 0) {
    Moment m;
    m.year = year;
    m.month = month;
    m.day = day;
    m.hour = hour;
    m.minute = minute;
    m.second = second;
    return m;
}

TEST(TimeClipTexts, SpeaksTheTwelveHourClock) {
    struct Case {
        int hour;
        int minute;
        const char* clips;
    };
    static const Case kCases[] = {
        {0, 0, "现在时间 上午 十 二 点 整"},
        {9, 5, "现在时间 上午 九 点 五 分"},
        {10, 10, "现在时间 上午 十 点 十 分"},
        {10, 15, "现在时间 上午 十 点 十 五 分"},
        {11, 59, "现在时间 上午 十 一 点 五 十 九 分"},
        {12, 0, "现在时间 下午 十 二 点 整"},
        {12, 30, "现在时间 下午 十 二 点 三 十 分"},
        {13, 45, "现在时间 下午 一 点 四 十 五 分"},
        {20, 1, "现在时间 下午 八 点 一 分"},
        {23, 59, "现在时间 下午 十 一 点 五 十 九 分"},
    };
    for (const Case& c : kCases) {
        // Seconds are never spoken.
        const Moment m = At(2026, 12, 6, c.hour, c.minute, 37);
        EXPECT_EQ(TimeClipTexts(m), Words(c.clips)) << c.hour << ":" << c.minute;
    }
}

TEST(TimeClipTexts, FieldsOutOfRangeLoseTheirNumerals) {
    EXPECT_EQ(TimeClipTexts(At(2026, 1, 1, -3, -1)), Words("现在时间 上午 点 分"));
    EXPECT_EQ(TimeClipTexts(At(2026, 1, 1, 25, 0)), Words("现在时间 下午 一 点 整"));
}

TEST(TimeClipTexts, NaturalReading) {
    struct Case {
        int hour;
        int minute;
        const char* clips;
    };
    static const Case kCases[] = {
        {0, 0, "现在时间 凌晨 十 二 点 整"},
        {2, 2, "现在时间 凌晨 两 点 零 二 分"},
        {4, 59, "现在时间 凌晨 四 点 五 十 九 分"},
        {5, 0, "现在时间 早上 五 点 整"},
        {7, 10, "现在时间 早上 七 点 十 分"},
        {8, 1, "现在时间 上午 八 点 零 一 分"},
        {9, 5, "现在时间 上午 九 点 零 五 分"},
        {11, 9, "现在时间 上午 十 一 点 零 九 分"},
        {12, 0, "现在时间 中午 十 二 点 整"},
        {12, 30, "现在时间 中午 十 二 点 三 十 分"},
        {13, 45, "现在时间 下午 一 点 四 十 五 分"},
        {14, 0, "现在时间 下午 两 点 整"},
        {18, 20, "现在时间 下午 六 点 二 十 分"},
        {19, 0, "现在时间 晚上 七 点 整"},
        {23, 59, "现在时间 晚上 十 一 点 五 十 九 分"},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(TimeClipTexts(At(2026, 12, 7, c.hour, c.minute), true), Words(c.clips))
            << c.hour << ":" << c.minute;
    }
    // The date is read the same either way.
    const Moment m = At(2026, 12, 7, 14, 2);
    const std::vector<std::string> natural = AnnouncementClipTexts(m, 2, true);
    EXPECT_EQ(natural, Words("提示 今天是 二 零 二 六 年 十 二 月 七 日 星期 一 "
                             "现在时间 下午 两 点 零 二 分"));
}

TEST(DateClipTexts, SpeaksYearMonthDayAndWeekday) {
    struct Case {
        int year;
        int month;
        int day;
        const char* clips;
    };
    static const Case kCases[] = {
        {2026, 12, 6, "今天是 二 零 二 六 年 十 二 月 六 日 星期 日"},
        {2026, 12, 7, "今天是 二 零 二 六 年 十 二 月 七 日 星期 一"},
        {2026, 1, 20, "今天是 二 零 二 六 年 一 月 二 十 日 星期 二"},
        {2005, 10, 1, "今天是 二 零 零 五 年 十 月 一 日 星期 六"},
        {2000, 1, 1, "今天是 二 零 零 零 年 一 月 一 日 星期 六"},
        {2026, 11, 19, "今天是 二 零 二 六 年 十 一 月 十 九 日 星期 四"},
        {2026, 12, 30, "今天是 二 零 二 六 年 十 二 月 三 十 日 星期 三"},
        {2026, 12, 31, "今天是 二 零 二 六 年 十 二 月 三 十 一 日 星期 四"},
        {2027, 1, 1, "今天是 二 零 二 七 年 一 月 一 日 星期 五"},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(DateClipTexts(At(c.year, c.month, c.day, 10, 0)), Words(c.clips))
            << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(DateClipTexts, ADateThatIsNoRealDayHasNoWeekday) {
    EXPECT_EQ(DateClipTexts(At(2026, 2, 30, 0, 0)),
              Words("今天是 二 零 二 六 年 二 月 三 十 日 星期"));
    EXPECT_EQ(DateClipTexts(At(2026, 13, 1, 0, 0)),
              Words("今天是 二 零 二 六 年 十 三 月 一 日 星期"));
    EXPECT_EQ(DateClipTexts(At(-5, 0, -1, 0, 0)), Words("今天是 年 月 日 星期"));
}

TEST(AnnouncementClipTexts, FormatChoosesTheSentences) {
    const Moment m = At(2026, 12, 6, 10, 0);
    const std::string date = "今天是 二 零 二 六 年 十 二 月 六 日 星期 日";
    const std::string time = "现在时间 上午 十 点 整";
    EXPECT_EQ(AnnouncementClipTexts(m, 0), Words("提示 " + time));
    EXPECT_EQ(AnnouncementClipTexts(m, 1), Words("提示 " + date));
    // The whole date comes before 现在时间.
    EXPECT_EQ(AnnouncementClipTexts(m, 2), Words("提示 " + date + " " + time));
    for (const int format : {3, -1, 99}) {
        EXPECT_EQ(AnnouncementClipTexts(m, format), Words("提示")) << format;
    }
}

TEST(DateClipTexts, TheLunarDateAfterTheWeekday) {
    struct Case {
        Moment day;
        int lunarMode;
        const char* lunar;  // what follows 星期 and the weekday
    };
    const Case cases[] = {
        {At(2027, 2, 6, 9, 0), 1, "农历 正月 初 一 春节"},
        {At(2026, 12, 22, 9, 0), 1, "农历 冬月 十 四 冬至"},
        {At(2026, 12, 8, 9, 0), 2, "农历 丙 午 马 年 十 月 三 十"},
        {At(1987, 7, 26, 9, 0), 2, "农历 丁 卯 兔 年 闰 六 月 初 一"},
        {At(2033, 12, 22, 9, 0), 1, "农历 闰 冬月 初 一"},
        {At(2026, 2, 16, 9, 0), 2, "农历 乙 巳 蛇 年 腊月 二 十 九 除夕"},
        {At(2020, 10, 1, 9, 0), 1, "农历 八 月 十 五 中秋节 国庆节"},
        {At(2024, 1, 20, 9, 0), 1, "农历 腊月 初 十 大寒"},
        // No reading chosen, a reading that does not exist, or a day the calendar does not know.
        {At(2027, 2, 6, 9, 0), 0, ""},
        {At(2027, 2, 6, 9, 0), 3, ""},
        {At(2101, 1, 1, 9, 0), 2, ""},
        {At(1901, 2, 18, 9, 0), 2, ""},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> gregorian = DateClipTexts(c.day);
        std::vector<std::string> expected = gregorian;
        for (const std::string& word : Words(c.lunar)) {
            expected.push_back(word);
        }
        EXPECT_EQ(DateClipTexts(c.day, c.lunarMode), expected) << c.lunar;
        EXPECT_EQ(LunarClipTexts(c.day, c.lunarMode), Words(c.lunar)) << c.lunar;
    }
    // In the whole sentence the lunar date ends the date, before 现在时间.
    EXPECT_EQ(AnnouncementClipTexts(At(2027, 2, 6, 10, 0), 2, false, 1),
              Words("提示 今天是 二 零 二 七 年 二 月 六 日 星期 六 农历 正月 初 一 春节 "
                    "现在时间 上午 十 点 整"));
    EXPECT_EQ(AnnouncementClipTexts(At(2027, 2, 6, 10, 0), 0, false, 2),
              Words("提示 现在时间 上午 十 点 整"));
}

// Every word an announcement can say has its clip in the list that CMake ships and the clip
// script makes.
TEST(AnnouncementClipTexts, SpeakOnlyClipsOfTheList) {
    const std::set<std::string> listed(std::begin(kAllClipTexts), std::end(kAllClipTexts));
    std::set<std::string> spoken;
    for (int minutes = 0; minutes < 24 * 60; ++minutes) {
        for (const bool natural : {false, true}) {
            const Moment m{2026, 12, 1 + minutes % 31, minutes / 60, minutes % 60, 0, 0};
            for (const std::string& text : AnnouncementClipTexts(m, 2, natural)) {
                spoken.insert(text);
            }
        }
    }
    // Sixty years see every 干支 and 生肖, every solar term and festival, leap months and every
    // day of the lunar month.
    for (int year = 2020; year < 2080; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                for (const std::string& text : LunarClipTexts(At(year, month, day, 9, 0), 2)) {
                    spoken.insert(text);
                }
            }
        }
    }
    for (const std::string& text : spoken) {
        EXPECT_TRUE(listed.contains(text)) << text;
    }
    EXPECT_EQ(spoken.size(), listed.size());  // and the list holds nothing never spoken
}

}  // namespace
}  // namespace horalia
