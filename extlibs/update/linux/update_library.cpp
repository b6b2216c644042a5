// libUpdate.so: DoUpdate hands a web address to the check in libUpdateCheck.so beside it, and
// loads that library (and with it libcurl and its TLS library) only then. Anything else, the
// empty address of a build without an update text included, makes DoUpdate return at once.
#include <dlfcn.h>

#include <string>

#include "extlibs/update/update_text.h"

namespace {

using StartUpdateCheck = void (*)(const char*);

// The folder of this library, as the program named it when it loaded it.
std::string OwnFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&OwnFolder), &info) == 0 || info.dli_fname == nullptr)
        return {};
    const std::string path = info.dli_fname;
    const std::size_t cut = path.rfind('/');
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
}

StartUpdateCheck LoadCheck() {
    // Only a full path: a bare file name would search the system's library path.
    const std::string folder = OwnFolder();
    if (folder.empty())
        return nullptr;
    void* library = dlopen((folder + "/libUpdateCheck.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return nullptr;
    return reinterpret_cast<StartUpdateCheck>(dlsym(library, "StartUpdateCheck"));
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void DoUpdate(const char* url) {
    if (url == nullptr || !horalia::update::IsWebUrl(url))
        return;
    // Looked up once: the library stays loaded for the rest of the process.
    static const StartUpdateCheck start = LoadCheck();
    if (start != nullptr)
        start(url);
}
