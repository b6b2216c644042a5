// The text of the tray icon's tooltip.
#pragma once

#include <string>

#include "common/locale_text.h"
#include "common/moment.h"

namespace horalia {

// The text the icon shows before the load step sets the clock.
inline constexpr char kInitialToolTip[] = "Horalia";

// Four lines joined by CR LF: the title, the two mouse actions, then the locale's short date and
// long time (the date alone at exactly midnight).
std::string TrayToolTipText(const Moment& now, const LocaleText& locale);

}  // namespace horalia
