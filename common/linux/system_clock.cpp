#include <locale.h>
#include <time.h>

#include <ctime>

#include "common/linux/broken_down_time.h"
#include "common/locale_text.h"
#include "common/zone_clock.h"

namespace horalia {
namespace {

// The user's LC_TIME with a UTF-8 character set, whatever the process's own locale is.
locale_t UserTimeLocale() {
    static const locale_t locale = [] {
        locale_t base = newlocale(LC_ALL_MASK, "", nullptr);
        if (base == nullptr) {
            base = newlocale(LC_ALL_MASK, "C.UTF-8", nullptr);
        }
        return base;
    }();
    return locale;
}

std::string Format(const char* pattern, const Moment& m) {
    const std::tm t = ToTm(m);
    char buffer[128] = {};
    const locale_t locale = UserTimeLocale();
    const std::size_t n = locale != nullptr ? strftime_l(buffer, sizeof buffer, pattern, &t, locale)
                                            : std::strftime(buffer, sizeof buffer, pattern, &t);
    return std::string(buffer, n);
}

class LinuxClock final : public Clock {
  public:
    Moment Now() const override {
        const ZoneClock& zone = SystemZoneClock();
        return zone.ToLocal(zone.UtcNow());
    }
};

class LinuxLocale final : public LocaleText {
  public:
    std::string ShortDate(const Moment& m) const override { return Format("%x", m); }
    std::string LongTime(const Moment& m) const override { return Format("%X", m); }
};

}  // namespace

const Clock& SystemClock() {
    static const LinuxClock clock;
    return clock;
}

const LocaleText& SystemLocale() {
    static const LinuxLocale locale;
    return locale;
}

}  // namespace horalia
