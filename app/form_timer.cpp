#include "app/form_timer.h"

namespace horalia {

std::int32_t DelayToNextSecond(const Moment& now) {
    return 1000 - now.millisecond + kTickMarginMs;
}

FormTimer::FormTimer(FormTimerPort& port, const Clock& clock, std::int32_t intervalMs)
    : port_(port), clock_(clock), intervalMs_(intervalMs) {}

void FormTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    if (enabled) {
        port_.Arm(NextDelay(clock_.Now()));
    } else {
        port_.Cancel();
    }
}

bool FormTimer::Fired() {
    if (!enabled_) {
        return false;
    }
    Moment now = clock_.Now();
    // Re-armed before the handler runs, as a periodic timer would be: a handler that plays an
    // announcement lets events through, and the next ticks must keep coming meanwhile.
    port_.Arm(NextDelay(now));
    now.millisecond = 0;
    if (AlignedToSeconds() && lastTick_ == now) {
        return false;
    }
    lastTick_ = now;
    return true;
}

std::int32_t FormTimer::NextDelay(const Moment& now) const {
    return AlignedToSeconds() ? DelayToNextSecond(now) : intervalMs_;
}

}  // namespace horalia
