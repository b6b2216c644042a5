// Virtual time for the main form's tests: a clock the test moves, and timer ports that fire in
// due order as the clock is run forward, each firing possibly late or early by a drift the test
// chooses.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "app/form_timer.h"
#include "common/clock.h"
#include "common/moment.h"
#include "common/zone_clock.h"

namespace horalia::fakes {

using VirtualTime = std::chrono::sys_time<std::chrono::milliseconds>;

inline VirtualTime At(int year, int month, int day, int hour, int minute, int second,
                      int millisecond = 0) {
    using namespace std::chrono;
    const sys_days date =
        year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                       std::chrono::day{static_cast<unsigned>(day)}};
    return VirtualTime{date} + hours{hour} + minutes{minute} + seconds{second} +
           milliseconds{millisecond};
}

inline Moment ToMoment(VirtualTime t) {
    return CivilMoment(t.time_since_epoch().count());
}

class FakeClock : public Clock {
  public:
    Moment Now() const override { return ToMoment(now); }
    VirtualTime now = At(2026, 12, 7, 9, 0, 0);
};

class VirtualTimers;

class FakeTimerPort : public FormTimerPort {
  public:
    void Arm(std::int32_t delayMilliseconds) override {
        armed.push_back(delayMilliseconds);
        // A timer fires late or early, but never before it was armed.
        const std::int32_t actual = std::max(1, delayMilliseconds + drift(armed.size()));
        due = clock->now + std::chrono::milliseconds(actual);
        pending = true;
    }
    void Cancel() override { pending = false; }

    FakeClock* clock = nullptr;
    std::function<void()> onFire;  // the form's *_Fired handler
    // Milliseconds added to the n-th arming's delay (negative: the timer fires early).
    std::function<std::int32_t(std::size_t n)> drift = [](std::size_t) { return 0; };
    bool pending = false;
    VirtualTime due{};
    std::vector<std::int32_t> armed;
};

// Runs the clock forward, firing the earliest pending timer each time.
class VirtualTimers {
  public:
    explicit VirtualTimers(FakeClock& clock) : clock_(clock) {}

    void Add(FakeTimerPort& port) {
        port.clock = &clock_;
        ports_.push_back(&port);
    }

    void RunUntil(VirtualTime end) {
        for (;;) {
            FakeTimerPort* next = nullptr;
            for (FakeTimerPort* port : ports_) {
                if (port->pending && (next == nullptr || port->due < next->due)) {
                    next = port;
                }
            }
            if (next == nullptr || next->due > end) {
                break;
            }
            clock_.now = std::max(clock_.now, next->due);
            next->pending = false;
            next->onFire();
        }
        clock_.now = std::max(clock_.now, end);
    }

  private:
    FakeClock& clock_;
    std::vector<FakeTimerPort*> ports_;
};

}  // namespace horalia::fakes
