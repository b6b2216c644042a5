#include "voice/schedule.h"

#include <algorithm>
#include <chrono>
#include <numeric>

namespace horalia {
namespace {

using Seconds = std::chrono::sys_seconds;

constexpr std::int64_t kMinute = 60 * 1000;

// Whole seconds of the civil calendar, so that stepping back across midnight or a month works.
Seconds ToSeconds(const Moment& m) {
    using namespace std::chrono;
    return floor<seconds>(sys_time<milliseconds>(milliseconds(CivilMilliseconds(m))));
}

Moment ToMoment(Seconds t) {
    return CivilMoment(std::chrono::milliseconds(t.time_since_epoch()).count());
}

}  // namespace

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

bool IsAnnouncementDay(const Moment& now, const AnnouncementDays& days,
                       const WorkingDayCalendar& workingDays) {
    switch (days.kind) {
        case AnnouncementDays::Kind::kEveryDay:
            return true;
        case AnnouncementDays::Kind::kWorkingDays:
            return workingDays.IsWorkingDay(now.year, now.month, now.day);
        case AnnouncementDays::Kind::kWeekdays:
            break;
    }
    const std::chrono::year_month_day date{std::chrono::year(now.year),
                                           std::chrono::month(static_cast<unsigned>(now.month)),
                                           std::chrono::day(static_cast<unsigned>(now.day))};
    const unsigned weekday = std::chrono::weekday(std::chrono::sys_days(date)).iso_encoding();
    return (days.weekdays >> (weekday - 1) & 1) != 0;
}

bool IsScheduledMoment(const Moment& now, const SettingsRecord& settings,
                       const WorkingDayCalendar& workingDays) {
    if (settings.AnnounceInterval > 0) {
        if (now.second != 0 || now.minute % settings.AnnounceInterval != 0) {
            return false;
        }
    } else {
        // hh:30 (and hh:15, hh:45 for quarters) follow the hour hh when that hour was due.
        const bool half = settings.HalfOrQuarterHours == 1 && now.minute == 30;
        const bool quarter = settings.HalfOrQuarterHours == 2 && now.minute % 15 == 0;
        Moment hour = now;
        if (half || quarter) {
            hour.minute = 0;
        }
        if (!IsAnnouncementDue(hour, settings.AnnounceFrequency, settings.AnnounceHours)) {
            return false;
        }
    }
    const int minuteOfDay = now.hour * 60 + now.minute;
    const auto quiet = [minuteOfDay](const QuietPeriod& q) { return q.Contains(minuteOfDay); };
    if (std::any_of(settings.QuietPeriods.begin(), settings.QuietPeriods.end(), quiet)) {
        return false;
    }
    return IsAnnouncementDay(now, settings.AnnounceDays, workingDays);
}

std::optional<Moment> AnnouncementSchedule::Tick(const Moment& now, const SettingsRecord& settings,
                                                 const WorkingDayCalendar& workingDays) {
    const std::optional<Moment> last = last_;
    last_ = now;
    if (IsScheduledMoment(now, settings, workingDays)) {
        return now;
    }
    if (!last || !IsValidMoment(now) || !IsValidMoment(*last)) {
        return std::nullopt;
    }
    const Seconds to = ToSeconds(now);
    const Seconds from = ToSeconds(*last);
    if (to <= from || to - from > std::chrono::seconds(kCatchUpSeconds)) {
        return std::nullopt;  // a clock set back, or woken from sleep: nothing late
    }
    for (Seconds t = to - std::chrono::seconds(1); t > from; t -= std::chrono::seconds(1)) {
        const Moment missed = ToMoment(t);
        if (IsScheduledMoment(missed, settings, workingDays)) {
            return missed;
        }
    }
    return std::nullopt;
}

std::vector<Moment> NextScheduledMoments(const ZoneClock& zone, const Moment& from,
                                         const SettingsRecord& settings,
                                         const WorkingDayCalendar& workingDays, int count) {
    std::vector<Moment> moments;
    if (!ScheduleRuns(settings) || !IsValidMoment(from)) {
        return moments;
    }
    // A local time that does not exist (skipped by summer time) starts at the next one that does.
    std::optional<UtcMilliseconds> start;
    for (int minute = 0; !start && minute <= 24 * 60; ++minute) {
        start = zone.FromLocal(CivilMoment(CivilMilliseconds(from) + minute * kMinute));
    }
    if (!start) {
        return moments;
    }
    // Every zone's offset is a whole number of quarter hours, so every scheduled local minute
    // (a multiple of the step past the hour) falls on a multiple of the step in UTC too.
    const std::int64_t step =
        std::gcd(15, settings.AnnounceInterval > 0 ? settings.AnnounceInterval : 15) * kMinute;
    // A year and a week without a hit (holidays, a person's own days off) mean there is none.
    const std::int64_t longestGap = (366 + 7) * 24 * 60 * kMinute;
    UtcMilliseconds t = (*start + step - 1) / step * step;
    for (UtcMilliseconds lastHit = t;
         static_cast<int>(moments.size()) < count && t - lastHit <= longestGap; t += step) {
        const Moment local = zone.ToLocal(t);
        if (IsScheduledMoment(local, settings, workingDays)) {
            moments.push_back(local);
            lastHit = t;
        }
    }
    return moments;
}

std::optional<int> YearWithoutHolidayData(const Moment& now, const SettingsRecord& settings,
                                          const WorkingDayCalendar& workingDays) {
    if (!ScheduleRuns(settings) ||
        settings.AnnounceDays.kind != AnnouncementDays::Kind::kWorkingDays ||
        workingDays.KnowsYear(now.year)) {
        return std::nullopt;
    }
    return now.year;
}

}  // namespace horalia
