#include <time.h>

#include "common/linux/broken_down_time.h"
#include "common/zone_clock.h"

namespace horalia {
namespace {

class LinuxZoneClock final : public ZoneClock {
  public:
    UtcMilliseconds UtcNow() const override {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        return static_cast<UtcMilliseconds>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    }

    // The C library's rules: the TZ variable, else /etc/localtime.
    Moment ToLocal(UtcMilliseconds instant) const override {
        UtcMilliseconds seconds = instant / 1000;
        UtcMilliseconds millis = instant % 1000;
        if (millis < 0) {
            millis += 1000;
            --seconds;
        }
        const time_t whole = static_cast<time_t>(seconds);
        tm t{};
        if (localtime_r(&whole, &t) == nullptr) {
            return CivilMoment(instant);  // out of the C library's range: shown as UTC
        }
        return FromTm(t, static_cast<int>(millis));
    }

    std::optional<UtcMilliseconds> FromLocal(const Moment& local) const override {
        std::tm t = ToTm(local);
        const time_t seconds = mktime(&t);
        if (seconds == static_cast<time_t>(-1)) {
            return std::nullopt;
        }
        return static_cast<UtcMilliseconds>(seconds) * 1000 + local.millisecond;
    }
};

}  // namespace

const ZoneClock& SystemZoneClock() {
    static const LinuxZoneClock clock;
    return clock;
}

}  // namespace horalia
