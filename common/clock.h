// The wall clock as a port, so tests can run a day of ticks in virtual time.
#pragma once

#include "common/moment.h"

namespace horalia {

class Clock {
  public:
    virtual ~Clock() = default;
    // The current local date and time, milliseconds included.
    virtual Moment Now() const = 0;
};

}  // namespace horalia
