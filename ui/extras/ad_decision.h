// Whether the advertisement window is loaded this run, and the date to record when it is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/moment.h"

namespace horalia {

struct AdDecision {
    bool load = false;
    // "yyyy|mm|dd" to write under 广告日期 once the window is loaded (once-a-day mode only).
    std::optional<std::string> dateToRecord;
};

// adMode 0: every start; 1: at most once a day, by adShownDate as loaded at start-up;
// any other value: never.
AdDecision DecideAdvertisement(std::int32_t adMode, const std::string& adShownDate,
                               const Moment& today);

}  // namespace horalia
