// What the tray tells the person after they chose 托盘图标_网络校时.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "timesync/time_sync.h"

namespace horalia {

inline constexpr char kTimeSyncNoticeTitle[] = "网络校时";

// "本机时钟比服务器慢3秒", "…快1小时2分5秒", or "本机时钟与服务器相差不到1秒", to the
// nearest second.
std::string ClockOffsetText(std::int64_t offsetMilliseconds);

// One sentence or two for the balloon; `host` is the server asked.
std::string TimeSyncNoticeText(const TimeSyncOutcome& outcome, std::string_view host);

// The question before 网络校时 moves the clock further than the hourly synchronisation would.
std::string LargeStepQuestionText(const TimeSyncOutcome& outcome);

// The notice when the hourly synchronisation left a large offset alone.
std::string TooFarNoticeText(const TimeSyncOutcome& outcome);

}  // namespace horalia
