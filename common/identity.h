// The program's identity texts.
#pragma once

namespace horalia {

inline constexpr char kProgramName[] = "Horalia";
inline constexpr char kProgramVersion[] = "3.0.0.0";
inline constexpr char kMainWindowTitle[] = "Horalia Ver:3.0.0.0";  // also the instance marker
inline constexpr char kFeedbackText[] = "Horalia 3.0.0.0";

}  // namespace horalia
