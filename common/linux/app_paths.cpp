#include "common/app_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace horalia {
namespace {

std::string RunningExecutable() {
    std::string buffer(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
        return {};
    }
    buffer.resize(static_cast<std::size_t>(length));
    return buffer;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Creates the folder of the settings file, and the folders above it, so that the first write
// succeeds; an existing folder is left as it is.
void CreateParentFolders(const std::string& filePath) {
    for (std::size_t cut = filePath.find('/', 1); cut != std::string::npos;
         cut = filePath.find('/', cut + 1)) {
        const std::string folder = filePath.substr(0, cut);
        if (!IsFolder(folder)) {
            mkdir(folder.c_str(), 0700);
        }
    }
}

}  // namespace

AppPaths CurrentAppPaths() {
    const std::string executable = RunningExecutable();
    const std::string folder = executable.substr(0, executable.find_last_of('/'));
    AppPaths paths = LinuxAppPaths(executable, IsFolder(folder + "/Sound"),
                                   Environment("XDG_CONFIG_HOME"), Environment("HOME"));
    if (paths.iniPath.rfind(paths.appFolder + "/", 0) != 0) {
        CreateParentFolders(paths.iniPath);
    }
    return paths;
}

}  // namespace horalia
