#include "voice/schedule.h"

namespace horalia {

bool IsAnnouncementDue(const Moment& now, std::int32_t announceFrequency,
                       const std::array<std::int32_t, 5>& announceHours) {
    // A frequency outside the table, or a slot without a positive interval (only a hand-edited
    // Value.ini gives one), counts as every hour.
    std::int32_t interval = 1;
    if (announceFrequency >= 0 &&
        static_cast<std::size_t>(announceFrequency) < announceHours.size() &&
        announceHours[static_cast<std::size_t>(announceFrequency)] > 0) {
        interval = announceHours[static_cast<std::size_t>(announceFrequency)];
    }
    return now.hour % interval == 0 && now.minute == 0 && now.second == 0;
}

}  // namespace horalia
