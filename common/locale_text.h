// The user's locale as far as the program uses it: the 12-hour designators and the short date and
// long time forms of the tooltip clock.
#pragma once

#include <string>

#include "common/clock.h"
#include "common/moment.h"

namespace horalia {

class LocaleText {
  public:
    virtual ~LocaleText() = default;
    // UTF-8 texts, exactly as the platform reports them ("AM", "上午", "am", ...).
    virtual std::string AmDesignator() const = 0;
    virtual std::string PmDesignator() const = 0;
    virtual std::string ShortDate(const Moment& m) const = 0;
    virtual std::string LongTime(const Moment& m) const = 0;
};

// The platform's clock and locale (defined in common/win32 or common/linux).
const Clock& SystemClock();
const LocaleText& SystemLocale();

}  // namespace horalia
