#include "tools/say/say_platform.h"

namespace horalia::say {

void PrepareConsole() {}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    return arguments;
}

}  // namespace horalia::say
