#include <windows.h>

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
        SYSTEMTIME in{};
        in.wYear = static_cast<WORD>(utc.year);
        in.wMonth = static_cast<WORD>(utc.month);
        in.wDay = static_cast<WORD>(utc.day);
        in.wHour = static_cast<WORD>(utc.hour);
        in.wMinute = static_cast<WORD>(utc.minute);
        in.wSecond = static_cast<WORD>(utc.second);
        in.wMilliseconds = static_cast<WORD>(utc.millisecond);
        SYSTEMTIME out{};
        if (utc.year < 1601 || utc.year > 30827 ||
            !SystemTimeToTzSpecificLocalTime(nullptr, &in, &out)) {
            return utc;
        }
        return {out.wYear,   out.wMonth,  out.wDay,         out.wHour,
                out.wMinute, out.wSecond, out.wMilliseconds};
    }
};

}  // namespace

const ZoneClock& SystemZoneClock() {
    static const WindowsZoneClock clock;
    return clock;
}

}  // namespace horalia
