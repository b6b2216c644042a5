// What an announcement says, as clip texts in speaking order (each text names Sound/<text>.wav).
// Pure functions: a moment and a format in, clip texts out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/moment.h"

namespace horalia {

inline constexpr char kChimeClip[] = "提示";

// "AM" becomes 上午 and "PM" becomes 下午 (exact, case-sensitive); any other text is kept.
std::string ReplacePeriod(const std::string& designator);

// 现在时间, the period word, the hour, 点, then 整 or the minutes and 分.
// amDesignator/pmDesignator: the locale's 12-hour designators, before replacement.
std::vector<std::string> TimeClipTexts(const Moment& moment, const std::string& amDesignator,
                                       const std::string& pmDesignator);

// 今天是, the year digit by digit, 年, month, 月, day, 日, 星期 and the weekday (日 for Sunday).
std::vector<std::string> DateClipTexts(const Moment& moment);

// The whole announcement, chime first: format 0 time, 1 date, 2 date then time, else chime alone.
std::vector<std::string> AnnouncementClipTexts(const Moment& moment, std::int32_t announceFormat,
                                               const std::string& amDesignator,
                                               const std::string& pmDesignator);

}  // namespace horalia
