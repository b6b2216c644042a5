#include <windows.h>

#include "common/locale_text.h"
#include "common/win32/ansi_text.h"

namespace horalia {
namespace {

SYSTEMTIME ToSystemTime(const Moment& m) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(m.year);
    st.wMonth = static_cast<WORD>(m.month);
    st.wDay = static_cast<WORD>(m.day);
    st.wDayOfWeek = static_cast<WORD>(DayOfWeek(m));
    st.wHour = static_cast<WORD>(m.hour);
    st.wMinute = static_cast<WORD>(m.minute);
    st.wSecond = static_cast<WORD>(m.second);
    st.wMilliseconds = static_cast<WORD>(m.millisecond);
    return st;
}

std::string LocaleInfo(LCTYPE type) {
    wchar_t buffer[96] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 96);
    return win32::WideToUtf8(buffer);
}

class WindowsClock final : public Clock {
  public:
    Moment Now() const override {
        SYSTEMTIME st;
        GetLocalTime(&st);
        return Moment{st.wYear,   st.wMonth,  st.wDay,         st.wHour,
                      st.wMinute, st.wSecond, st.wMilliseconds};
    }
};

class WindowsLocale final : public LocaleText {
  public:
    std::string AmDesignator() const override { return LocaleInfo(LOCALE_S1159); }
    std::string PmDesignator() const override { return LocaleInfo(LOCALE_S2359); }
    std::string ShortDate(const Moment& m) const override {
        const SYSTEMTIME st = ToSystemTime(m);
        wchar_t buffer[128] = {};
        GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 128);
        return win32::WideToUtf8(buffer);
    }
    std::string LongTime(const Moment& m) const override {
        const SYSTEMTIME st = ToSystemTime(m);
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
