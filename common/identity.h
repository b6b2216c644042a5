// The program's identity texts.
#pragma once

#include "common/version.h"

namespace horalia {

inline constexpr char kProgramName[] = "Horalia";
inline constexpr char kProgramVersion[] = HORALIA_VERSION;
inline constexpr char kMainWindowTitle[] = "Horalia Ver:" HORALIA_VERSION;  // the instance marker
inline constexpr char kFeedbackText[] = "Horalia " HORALIA_VERSION;
inline constexpr char kUserAgent[] = "Horalia/" HORALIA_VERSION;

}  // namespace horalia
