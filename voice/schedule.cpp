#include "voice/schedule.h"

#include <chrono>

namespace horalia {
namespace {

using Seconds = std::chrono::sys_seconds;

constexpr std::int64_t kMinute = 60 * 1000;
constexpr std::int64_t kQuarterHour = 15 * kMinute;

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

bool IsScheduledMoment(const Moment& now, const SettingsRecord& settings) {
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
    return !(settings.QuietTime && settings.QuietTime->Contains(now.hour * 60 + now.minute));
}

std::optional<Moment> AnnouncementSchedule::Tick(const Moment& now,
                                                 const SettingsRecord& settings) {
    const std::optional<Moment> last = last_;
    last_ = now;
    if (IsScheduledMoment(now, settings)) {
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
        if (IsScheduledMoment(missed, settings)) {
            return missed;
        }
    }
    return std::nullopt;
}

std::vector<Moment> NextScheduledMoments(const ZoneClock& zone, const Moment& from,
                                         const SettingsRecord& settings, int count) {
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
    // Every zone's offset is a whole number of quarter hours, so every local quarter hour falls
    // on a quarter hour of UTC. The schedule repeats every day: two days of quarter hours
    // without a hit mean there is none at all.
    UtcMilliseconds t = (*start + kQuarterHour - 1) / kQuarterHour * kQuarterHour;
    for (int misses = 0; static_cast<int>(moments.size()) < count && misses <= 2 * 96;
         t += kQuarterHour) {
        const Moment local = zone.ToLocal(t);
        if (IsScheduledMoment(local, settings)) {
            moments.push_back(local);
            misses = 0;
        } else {
            ++misses;
        }
    }
    return moments;
}

}  // namespace horalia
