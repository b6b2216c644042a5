// libUpdate.so and libSendComment.so: each is loaded with dlopen the first time its function is
// called, and its function (extern "C" void(const char*)) looked up by name. A missing library or
// function makes the call do nothing; it is looked for again at the next call, so a library put
// in place while the program runs is found. A loaded library is never unloaded: the update
// library may still be at work in a thread of its own when the program ends, and unloading its
// code under that thread would crash it.
#pragma once

#include <string>
#include <vector>

#include "ui/extras/main_form_windows.h"

namespace horalia {

// Where the libraries are looked for, in order: the application folder, and for an installed
// program (executable in <prefix>/bin) also <prefix>/lib/horalia.
std::vector<std::string> HookLibraryFolders(const std::string& appFolder);

class HookLoader final : public ExternalHooks {
  public:
    explicit HookLoader(std::vector<std::string> folders);
    HookLoader(const HookLoader&) = delete;
    HookLoader& operator=(const HookLoader&) = delete;

    void DoUpdate(const std::string& url) override;
    void ShowComment(const std::string& text) override;

  private:
    using HookFunction = void (*)(const char*);

    struct Hook {
        const char* fileName;
        const char* symbol;
        void* library = nullptr;  // stays loaded until the process ends
        HookFunction function = nullptr;
    };

    void Call(Hook& hook, const std::string& argument);
    void Load(Hook& hook);

    std::vector<std::string> folders_;
    Hook update_{"libUpdate.so", "DoUpdate"};
    Hook comment_{"libSendComment.so", "ShowComment"};
};

}  // namespace horalia
