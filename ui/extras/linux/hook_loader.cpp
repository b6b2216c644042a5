#include "ui/extras/linux/hook_loader.h"

#include <dlfcn.h>

#include <utility>

namespace horalia {

std::vector<std::string> HookLibraryFolders(const std::string& appFolder) {
    std::vector<std::string> folders{appFolder};
    const std::string binSuffix = "/bin";
    if (appFolder.size() > binSuffix.size() &&
        appFolder.compare(appFolder.size() - binSuffix.size(), binSuffix.size(), binSuffix) == 0) {
        folders.push_back(appFolder.substr(0, appFolder.size() - binSuffix.size()) +
                          "/lib/horalia");
    }
    return folders;
}

HookLoader::HookLoader(std::vector<std::string> folders) : folders_(std::move(folders)) {}

void HookLoader::DoUpdate(const std::string& url) {
    Call(update_, url);
}

void HookLoader::ShowComment(const std::string& text) {
    Call(comment_, text);
}

void HookLoader::Call(Hook& hook, const std::string& argument) {
    if (hook.function == nullptr) {
        Load(hook);
    }
    if (hook.function != nullptr) {
        hook.function(argument.c_str());
    }
}

void HookLoader::Load(Hook& hook) {
    for (const std::string& folder : folders_) {
        if (hook.library == nullptr) {
            // Only a full path: a bare file name would search the system's library path.
            hook.library = dlopen((folder + "/" + hook.fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
        }
    }
    if (hook.library == nullptr) {
        return;
    }
    // A library without the function stays loaded; the next call looks for the function again.
    hook.function = reinterpret_cast<HookFunction>(dlsym(hook.library, hook.symbol));
}

}  // namespace horalia
