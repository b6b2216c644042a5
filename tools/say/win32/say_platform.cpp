#include "tools/say/say_platform.h"

#include <windows.h>

#include <shellapi.h>

#include "common/win32/ansi_text.h"

namespace horalia::say {

void PrepareConsole() {
    SetConsoleOutputCP(CP_UTF8);
}

// The wide command line, so that names outside the ANSI code page survive.
std::vector<std::string> Utf8Arguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(win32::WideToUtf8(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

}  // namespace horalia::say
