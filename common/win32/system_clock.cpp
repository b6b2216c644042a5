#include <windows.h>

#include "common/locale_text.h"
#include "common/win32/ansi_text.h"
#include "common/win32/system_time.h"

namespace horalia {
namespace {

class WindowsClock final : public Clock {
  public:
    Moment Now() const override {
        SYSTEMTIME st;
        GetLocalTime(&st);
        return win32::FromSystemTime(st);
    }
};

class WindowsLocale final : public LocaleText {
  public:
    std::string ShortDate(const Moment& m) const override {
        const SYSTEMTIME st = win32::ToSystemTime(m);
        wchar_t buffer[128] = {};
        GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 128);
        return win32::WideToUtf8(buffer);
    }
    std::string LongTime(const Moment& m) const override {
        const SYSTEMTIME st = win32::ToSystemTime(m);
        wchar_t buffer[128] = {};
        GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
        return win32::WideToUtf8(buffer);
    }
};

}  // namespace

const Clock& SystemClock() {
    static const WindowsClock clock;
    return clock;
}

const LocaleText& SystemLocale() {
    static const WindowsLocale locale;
    return locale;
}

}  // namespace horalia
