// The user's locale as far as the program uses it: the short date and long time forms of the
// tooltip clock. (The words it speaks are its own: 上午 and 下午 come from the hour.)
#pragma once

#include <string>

#include "common/clock.h"
#include "common/moment.h"

namespace horalia {

class LocaleText {
  public:
    virtual ~LocaleText() = default;
    // UTF-8 texts, exactly as the platform writes them.
    virtual std::string ShortDate(const Moment& m) const = 0;
    virtual std::string LongTime(const Moment& m) const = 0;
};

// The platform's clock and locale (defined in common/win32 or common/linux).
const Clock& SystemClock();
const LocaleText& SystemLocale();

}  // namespace horalia
