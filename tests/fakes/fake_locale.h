// A locale with fixed, readable forms: "2026/12/7" and "09:05:00".
#pragma once

#include <cstdio>
#include <string>

#include "common/locale_text.h"

namespace horalia::fakes {

class FakeLocale : public LocaleText {
  public:
    std::string ShortDate(const Moment& m) const override {
        return std::to_string(m.year) + "/" + std::to_string(m.month) + "/" + std::to_string(m.day);
    }
    std::string LongTime(const Moment& m) const override {
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", m.hour % 100, m.minute % 100,
                      m.second % 100);
        return text;
    }
};

}  // namespace horalia::fakes
