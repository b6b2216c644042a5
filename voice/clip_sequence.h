// What an announcement says, as clip texts in speaking order (each text names Sound/<text>.wav).
// Pure functions: a moment and a format in, clip texts out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/moment.h"
#include "voice/clip_names.h"

namespace horalia {

inline constexpr char kChimeClip[] = "提示";

// The day period of the natural reading: 凌晨 0-4, 早上 5-7, 上午 8-11, 中午 12, 下午 13-18,
// 晚上 19-23.
std::string NaturalPeriod(int hour);

// The period as the clock shows it: 上午 0-11, 下午 12-23. A Mandarin word of the program's own,
// whatever the system's language calls the half of the day.
std::string ClockPeriod(int hour);

// 现在时间, the period word, the hour, 点, then 整 or the minutes and 分.
// natural: the period by the hour of the day (NaturalPeriod), 两 for the hour 2, and 零 before
// minutes 1 to 9, as people say the time.
std::vector<std::string> TimeClipTexts(const Moment& moment, bool natural = false);

// The lunar date (农历) of the moment's day, in the reading the person chose:
//   0 (or any other value): nothing;
//   1: 农历, the month (闰 first for a leap month; 正月, 二 月 .. 十 月, 冬月, 腊月), the day (初
//   一
//      .. 初 十, 十 一 .. 三 十), then the day's solar term and festivals;
//   2: as 1, with the year's 干支 and 生肖 and 年 after 农历 (农历 丙 午 马 年 ...).
// Nothing outside the calendar's range (1901-02-19 to 2100-12-31).
std::vector<std::string> LunarClipTexts(const Moment& moment, std::int32_t lunarMode);

// 今天是, the year digit by digit, 年, month, 月, day, 日, 星期 and the weekday (日 for Sunday),
// then LunarClipTexts.
std::vector<std::string> DateClipTexts(const Moment& moment, std::int32_t lunarMode = 0);

// What follows the chime: format 0 the time, 1 the date, 2 the date then the time, else nothing.
std::vector<std::string> AfterChimeClipTexts(const Moment& moment, std::int32_t announceFormat,
                                             bool natural = false, std::int32_t lunarMode = 0);

// The whole announcement: the chime, then AfterChimeClipTexts.
std::vector<std::string> AnnouncementClipTexts(const Moment& moment, std::int32_t announceFormat,
                                               bool natural = false, std::int32_t lunarMode = 0);

}  // namespace horalia
