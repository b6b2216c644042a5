// When the tray program announces on its own: the due test of the announcement schedule, the
// moments the settings select on the days they select, and the tick logic that catches a moment
// a late tick just missed. 工作日 reads the working-day calendar handed in.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "calendar/working_days.h"
#include "common/moment.h"
#include "common/zone_clock.h"
#include "config/settings.h"

namespace horalia {

// True in the first second of an hour that the frequency selects: hour % AnnounceHours[frequency]
// == 0, minute 0, second 0. A frequency without a usable interval counts as every hour.
bool IsAnnouncementDue(const Moment& now, std::int32_t announceFrequency,
                       const std::array<std::int32_t, 5>& announceHours);

// True in the first second of a moment the settings select: with 报时间隔 every whole multiple
// of it past the hour; without it a due hour, with half-hour chimes also hh:30 after it (with
// quarter chimes hh:15, hh:30 and hh:45). Never inside a quiet period, and only on the days of
// 报时日.
bool IsScheduledMoment(const Moment& now, const SettingsRecord& settings,
                       const WorkingDayCalendar& workingDays);

// Whether 报时日 lets the schedule announce on the moment's civil date.
bool IsAnnouncementDay(const Moment& now, const AnnouncementDays& days,
                       const WorkingDayCalendar& workingDays);

// Whether the announcement timer runs at all (关闭报时 = 1 stops it).
inline bool ScheduleRuns(const SettingsRecord& settings) {
    return settings.AnnounceOff == 0;
}

// How long ago a scheduled moment may have passed and still be announced by the next tick.
inline constexpr int kCatchUpSeconds = 5;

// The schedule as the announcement timer runs it, tick by tick.
class AnnouncementSchedule {
  public:
    // The moment to announce at this tick, if any: now itself when it is scheduled, or a scheduled
    // moment that passed at most kCatchUpSeconds ago since the previous tick (a tick came late).
    // After a longer gap (the machine slept, the clock was set) or a clock set back, only now
    // counts: nothing is announced late.
    std::optional<Moment> Tick(const Moment& now, const SettingsRecord& settings,
                               const WorkingDayCalendar& workingDays);
    // The timer stopped: moments that pass until it runs again are not to be caught up.
    void Stopped() { last_.reset(); }

  private:
    std::optional<Moment> last_;
};

// The next count moments, from the local time `from` on (inclusive, whole seconds), at which the
// tray program would announce on its own in the zone: as its ticks read the clock, a local time
// that a change of summer time skips is never announced, and one it repeats is announced twice.
// None when the schedule does not run.
std::vector<Moment> NextScheduledMoments(const ZoneClock& zone, const Moment& from,
                                         const SettingsRecord& settings,
                                         const WorkingDayCalendar& workingDays, int count);

// The year of now when the schedule runs with 报时日 = 工作日 but the working-day calendar knows
// nothing of that year, so that working days are guessed as Monday to Friday: the program says
// so (once a day). Nothing otherwise.
std::optional<int> YearWithoutHolidayData(const Moment& now, const SettingsRecord& settings,
                                          const WorkingDayCalendar& workingDays);

}  // namespace horalia
