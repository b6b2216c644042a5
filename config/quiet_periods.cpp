#include "config/quiet_periods.h"

#include "config/value_text.h"

namespace horalia {

using value_text::Split;
using value_text::Trimmed;
using value_text::WithAsciiPunctuation;

QuietPeriodsReading ReadQuietPeriods(std::string_view text) {
    QuietPeriodsReading reading;
    const std::string ascii = WithAsciiPunctuation(text);
    if (Trimmed(ascii).empty()) {
        return reading;
    }
    for (const std::string_view part : Split(ascii, ',')) {
        const std::string_view period = Trimmed(part);
        if (const std::optional<QuietPeriod> hours = ParseQuietPeriod(period)) {
            reading.periods.push_back(*hours);
            continue;
        }
        // Refused: two equal times, or something that is not a period of times.
        const std::size_t dash = period.find('-');
        const std::optional<int> start = ParseTimeOfDay(period.substr(0, dash));
        const bool equal = start && dash != std::string_view::npos &&
                           ParseTimeOfDay(period.substr(dash + 1)) == start;
        reading.problem = "免打扰时段“" + std::string(period) +
                          (equal ? "”的开始时间和结束时间相同。请填写两个不同的时间。"
                                 : "”无效。请按“时:分-时:分”填写，几个时段用逗号隔开，例如 "
                                   "12:00-13:30,22:00-07:00。");
        reading.periods.clear();
        return reading;
    }
    return reading;
}

std::string FormatQuietPeriods(const std::vector<QuietPeriod>& periods) {
    std::string text;
    for (const QuietPeriod& period : periods) {
        text += (text.empty() ? "" : ",") + FormatQuietPeriod(period);
    }
    return text;
}

}  // namespace horalia
