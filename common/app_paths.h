// Where the program finds its clips and keeps its settings.
#pragma once

#include <string>

namespace horalia {

struct AppPaths {
    std::string appFolder;       // folder of the executable, no trailing separator
    std::string soundFolder;     // folder of the 23 clips, WITH a trailing separator
    std::string iniPath;         // full path of Value.ini
    std::string executablePath;  // full path of the running executable
};

// The paths of the running program (defined in common/win32 or common/linux).
//   Windows: everything beside the executable (appFolder + "\Sound\", appFolder + "\Value.ini").
//   Linux: the same when Sound/ lies beside the executable; for an installed program
//   (executable in .../bin) the clips come from .../share/horalia/Sound/ and Value.ini lives in
//   $XDG_CONFIG_HOME/horalia/ (default ~/.config/horalia/).
AppPaths CurrentAppPaths();

}  // namespace horalia
