#include "common/app_paths.h"

namespace horalia {
namespace {

std::string ParentOf(const std::string& path, char separator) {
    const std::size_t cut = path.find_last_of(separator);
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string LastNameOf(const std::string& path, char separator) {
    const std::size_t cut = path.find_last_of(separator);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

AppPaths PathsBesideExecutable(const std::string& executablePath, char separator) {
    AppPaths paths;
    paths.executablePath = executablePath;
    paths.appFolder = ParentOf(executablePath, separator);
    paths.soundFolder = paths.appFolder + separator + "Sound" + separator;
    paths.iniPath = paths.appFolder + separator + "Value.ini";
    return paths;
}

AppPaths LinuxAppPaths(const std::string& executablePath, bool soundBesideExecutable,
                       const std::string& configHome, const std::string& home) {
    AppPaths paths = PathsBesideExecutable(executablePath, '/');
    // Only a program in a bin/ folder counts as installed; anything else keeps its files beside
    // it even when the clips are missing, so that the player's tone tells of the missing folder.
    if (soundBesideExecutable || LastNameOf(paths.appFolder, '/') != "bin") {
        return paths;
    }
    const std::string prefix = ParentOf(paths.appFolder, '/');
    paths.soundFolder = prefix + "/share/horalia/Sound/";
    const bool usableConfigHome = !configHome.empty() && configHome.front() == '/';
    const std::string base = usableConfigHome ? configHome : home + "/.config";
    paths.iniPath = base + "/horalia/Value.ini";
    return paths;
}

}  // namespace horalia
