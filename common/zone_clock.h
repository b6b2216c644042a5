// The system clock in UTC and the zone's rules that turn an instant into local time, as a port so
// that tests can run in zones with known rules.
#pragma once

#include <cstdint>
#include <optional>

#include "common/moment.h"

namespace horalia {

// Milliseconds since 1970-01-01 00:00:00 UTC.
using UtcMilliseconds = std::int64_t;

class ZoneClock {
  public:
    virtual ~ZoneClock() = default;
    virtual UtcMilliseconds UtcNow() const = 0;
    // The local date and time at an instant, by the zone's rules for that instant (summer time
    // included).
    virtual Moment ToLocal(UtcMilliseconds instant) const = 0;
    // The instant of a local date and time, by the zone's rules for that date; nothing when the
    // platform cannot place it. A time that a change of summer time skips or repeats is placed as
    // the platform chooses.
    virtual std::optional<UtcMilliseconds> FromLocal(const Moment& local) const = 0;
};

// The platform's clock and zone (defined in common/win32 or common/linux).
const ZoneClock& SystemZoneClock();

// A date and time counted as if it were UTC: milliseconds from 1970-01-01 00:00:00 of the same
// calendar. Differences between two such counts are plain durations, across months and years.
std::int64_t CivilMilliseconds(const Moment& m);
Moment CivilMoment(std::int64_t milliseconds);

}  // namespace horalia
