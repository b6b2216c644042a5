#include <windows.h>

#include "common/win32/system_time.h"
#include "common/zone_clock.h"

namespace horalia {
namespace {

// FILETIME counts 100 ns from 1601-01-01; this many milliseconds lie before 1970.
constexpr std::int64_t kMillisecondsFrom1601To1970 = 11644473600000LL;

class WindowsZoneClock final : public ZoneClock {
  public:
    UtcMilliseconds UtcNow() const override {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        const std::int64_t ticks =
            (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
        return ticks / 10000 - kMillisecondsFrom1601To1970;
    }

    // The zone set in Windows, with its summer-time rule for the date in question.
    Moment ToLocal(UtcMilliseconds instant) const override {
        const Moment utc = CivilMoment(instant);
        const SYSTEMTIME in = win32::ToSystemTime(utc);
        SYSTEMTIME out{};
        if (!win32::FitsSystemTime(utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &in, &out)) {
            return utc;
        }
        return win32::FromSystemTime(out);
    }

    std::optional<UtcMilliseconds> FromLocal(const Moment& local) const override {
        const SYSTEMTIME in = win32::ToSystemTime(local);
        SYSTEMTIME out{};
        if (!win32::FitsSystemTime(local) || !TzSpecificLocalTimeToSystemTime(nullptr, &in, &out)) {
            return std::nullopt;
        }
        return CivilMilliseconds(win32::FromSystemTime(out));
    }
};

}  // namespace

const ZoneClock& SystemZoneClock() {
    static const WindowsZoneClock clock;
    return clock;
}

}  // namespace horalia
