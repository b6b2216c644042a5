// How far a time server may move this computer's clock. An hourly synchronisation steps the clock
// only by a small offset, as ntpd refuses to step past its panic threshold: a larger one means a
// broken or hostile server as often as a wrong clock, and only the person can tell which. No path
// takes a time from a year this program can never run in.
#pragma once

#include <cstdint>

#include "timesync/daytime_exchange.h"

namespace horalia {

// ntpd's panic threshold: 1000 seconds.
inline constexpr std::int64_t kMaxAutomaticStepMilliseconds = 1000 * 1000;
inline constexpr int kEarliestTrustedYear = 2020;
inline constexpr int kLatestTrustedYear = 2100;
// Two offsets this close are the same one measured twice (the server's time has a granularity of
// a second, the way to it a few more of jitter, and a clock left alone drifts seconds a day).
inline constexpr std::int64_t kSameOffsetMilliseconds = 60 * 1000;

enum class StepVerdict {
    kApply,     // small enough for any synchronisation
    kAskFirst,  // the hourly one leaves it; the person's own request asks them first
    kNever,     // the server's year lies outside 2020..2100
};

StepVerdict JudgeStep(const TimeReading& reading);

bool SameOffset(std::int64_t a, std::int64_t b);

}  // namespace horalia
