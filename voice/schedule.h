// The due test of the announcement schedule.
#pragma once

#include <array>
#include <cstdint>

#include "common/moment.h"

namespace horalia {

// True in the first second of an hour that the frequency selects: hour % AnnounceHours[frequency]
// == 0, minute 0, second 0. A frequency without a usable interval counts as every hour.
bool IsAnnouncementDue(const Moment& now, std::int32_t announceFrequency,
                       const std::array<std::int32_t, 5>& announceHours);

}  // namespace horalia
