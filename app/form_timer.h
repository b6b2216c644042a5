// The timers of the main form. The shell owns the real timer and only reports when it fires; the
// core decides when it fires next. Timers of 1000 ms are re-armed for just after the next whole
// second of the wall clock, so a late or early firing never skips a second or handles one twice.
#pragma once

#include <cstdint>
#include <optional>

#include "common/clock.h"
#include "common/moment.h"

namespace horalia {

class FormTimerPort {
  public:
    virtual ~FormTimerPort() = default;
    // Fires once, delayMilliseconds from now, replacing any pending firing.
    virtual void Arm(std::int32_t delayMilliseconds) = 0;
    virtual void Cancel() = 0;
};

// How far past the whole second an aligned timer aims, to stay clear of timer jitter.
inline constexpr std::int32_t kTickMarginMs = 25;

// The delay from now to kTickMarginMs after the next whole second.
std::int32_t DelayToNextSecond(const Moment& now);

class FormTimer {
  public:
    FormTimer(FormTimerPort& port, const Clock& clock, std::int32_t intervalMs);

    // Switching on arms the timer; switching off cancels any pending firing.
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }

    // Called by the shell when the port fires. Re-arms the timer and returns true when this firing
    // is a tick for the handler; false for a firing of a disabled timer or an early firing in the
    // second that already had its tick.
    bool Fired();

  private:
    bool AlignedToSeconds() const { return intervalMs_ == 1000; }
    std::int32_t NextDelay(const Moment& now) const;

    FormTimerPort& port_;
    const Clock& clock_;
    std::int32_t intervalMs_;
    bool enabled_ = false;
    std::optional<Moment> lastTick_;  // its millisecond is cleared: only the second counts
};

}  // namespace horalia
