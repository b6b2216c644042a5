// 免打扰 as a list of periods, read from its text and written back, with the message a page
// shows when a text cannot be taken.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/settings.h"

namespace horalia {

// "免打扰": periods separated by ',' ("12:00-13:30,22:00-07:00"), each as QuietPeriod reads
// one. periods is empty for an empty text; problem names the first period that cannot be
// taken (a time that is not a time, or two equal times), and then periods is empty too.
struct QuietPeriodsReading {
    std::vector<QuietPeriod> periods;
    std::string problem;

    bool Ok() const { return problem.empty(); }
};
QuietPeriodsReading ReadQuietPeriods(std::string_view text);
// "HH:MM-HH:MM,HH:MM-HH:MM", as the file keeps it; empty for no period.
std::string FormatQuietPeriods(const std::vector<QuietPeriod>& periods);

}  // namespace horalia
