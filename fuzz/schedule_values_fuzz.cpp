// A person's 节假日.txt and the hand-edited texts of 免打扰, 报时间隔 and 报时日: whatever they
// hold is read without harm, and what is read writes back to a text that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "calendar/working_days.h"
#include "config/quiet_periods.h"
#include "config/schedule_values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace horalia;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    WorkingDayCalendar calendar;
    if (calendar.AddFileText(text) < 0) {
        std::abort();
    }
    (void)calendar.IsWorkingDay(2026, 10, 1);
    (void)calendar.KnowsYear(2027);

    const QuietPeriodsReading quiet = ReadQuietPeriods(text);
    if (quiet.Ok() != quiet.problem.empty() || (!quiet.Ok() && !quiet.periods.empty()) ||
        ReadQuietPeriods(FormatQuietPeriods(quiet.periods)).periods != quiet.periods) {
        std::abort();
    }
    if (const auto interval = ParseAnnounceInterval(text)) {
        if (ParseAnnounceInterval(FormatAnnounceInterval(*interval)) != interval) {
            std::abort();
        }
    }
    if (const auto days = ParseAnnouncementDays(text)) {
        if (ParseAnnouncementDays(FormatAnnouncementDays(*days)) != days) {
            std::abort();
        }
    }
    return 0;
}
