#include "timesync/step_bound.h"

namespace horalia {

StepVerdict JudgeStep(const TimeReading& reading) {
    if (reading.local.year < kEarliestTrustedYear || reading.local.year > kLatestTrustedYear ||
        reading.value.year < kEarliestTrustedYear || reading.value.year > kLatestTrustedYear)
        return StepVerdict::kNever;
    const std::int64_t offset = reading.offsetMilliseconds;
    return offset > kMaxAutomaticStepMilliseconds || offset < -kMaxAutomaticStepMilliseconds
               ? StepVerdict::kAskFirst
               : StepVerdict::kApply;
}

bool SameOffset(std::int64_t a, std::int64_t b) {
    return (a > b ? a - b : b - a) < kSameOffsetMilliseconds;
}

}  // namespace horalia
