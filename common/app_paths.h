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

// The rules behind CurrentAppPaths, free of the file system so that they can be tested.

// Everything beside the executable; separator is the platform's ('\\' or '/').
AppPaths PathsBesideExecutable(const std::string& executablePath, char separator);

// The Linux choice between a build tree or unpacked folder (Sound/ beside the executable) and an
// installed program. configHome is $XDG_CONFIG_HOME; when it is empty or relative, as the XDG
// rules say, home + "/.config" is used.
AppPaths LinuxAppPaths(const std::string& executablePath, bool soundBesideExecutable,
                       const std::string& configHome, const std::string& home);

}  // namespace horalia
