// The Chinese calendar (农历): the lunar date of a civil day, the solar terms (节气) on their day
// in China's time whatever the computer's zone, the 干支 and 生肖 of a lunar year, and the
// festivals of a day. Pure computation over tables made once from independent references
// (calendar/tools/make_lunar_data.mjs); known from 1901-02-19 to 2100-12-31 and silent outside.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace horalia {

// A day of the lunar calendar.
struct LunarDate {
    int year = 0;       // the civil year in which this lunar year's 正月初一 falls
    int month = 1;      // 1..12
    bool leap = false;  // a leap month (闰), which follows the month of the same number
    int day = 1;        // 1..30

    friend bool operator==(const LunarDate&, const LunarDate&) = default;
};

// The civil days the calendar covers: the first is 正月初一 of the lunar year 1901.
struct CivilDay {
    int year;
    int month;
    int day;
};
inline constexpr CivilDay kFirstLunarDay{1901, 2, 19};
inline constexpr CivilDay kLastLunarDay{2100, 12, 31};

// The lunar date of a civil date; nothing for a date outside the range or one that does not
// exist (31 April), never a guessed one.
std::optional<LunarDate> LunarDateOf(int year, int month, int day);

// The solar term whose day, in China's time (UTC+8), is this civil date, as Chinese calendars
// print it ("冬至"); empty on other days and outside the civil years 1901 to 2100.
std::string_view SolarTermOn(int year, int month, int day);

// The 24 solar terms in the order of the civil year, from 小寒 to 冬至.
inline constexpr std::string_view kSolarTermNames[24] = {
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};

// The heavenly stem and earthly branch of a lunar year ("丙午" for 2026) and its animal ("马").
std::string_view HeavenlyStemOf(int lunarYear);
std::string_view EarthlyBranchOf(int lunarYear);
std::string_view ZodiacAnimalOf(int lunarYear);

// The festivals of a civil date, in this order: 春节, 元宵节, 端午节, 七夕, 中秋节, 重阳节, 腊八节,
// 除夕 (the last day of 腊月, its 29th when it is short), then 元旦, 劳动节, 国庆节. None outside
// the calendar's range. A leap month holds no festival.
std::vector<std::string_view> FestivalsOn(int year, int month, int day);

// The month as people name it: 正月, 二月 .. 十月, 冬月, 腊月, with 闰 before a leap month.
std::string LunarMonthName(int month, bool leap);

// The day as people name it: 初一 .. 初十, 十一 .. 十九, 二十, 二十一 .. 二十九, 三十.
std::string LunarDayName(int day);

// The lunar date as a line of text: mode 1 "农历冬月十四 冬至" (the month, the day, then the
// day's solar term and festivals), mode 2 "农历丙午马年 冬月十四 冬至" (the year's 干支 and 生肖
// first); empty for any other mode and outside the calendar's range.
std::string LunarDateLine(int year, int month, int day, int mode);

}  // namespace horalia
