// The text of the tray icon's tooltip.
#pragma once

#include <string>

#include "common/locale_text.h"
#include "common/moment.h"

namespace horalia {

// The text the icon shows before the load step sets the clock.
inline constexpr char kInitialToolTip[] = "Horalia";

// Four lines joined by CR LF: the title, the two mouse actions, then the locale's short date and
// long time (the date alone at exactly midnight). A lunar mode of 1 or 2 (the 农历 reading) adds
// a fifth line, the lunar date as LunarDateLine writes it.
std::string TrayToolTipText(const Moment& now, const LocaleText& locale, int lunarMode = 0);

}  // namespace horalia
