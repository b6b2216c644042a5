// The tray program's command line: it takes no arguments of its own but --help and --version,
// answered before anything needs a display. Single-dash options (-platform, -display) are the
// toolkit's and pass through.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace horalia {

struct CommandLineAnswer {
    int exitCode = 0;
    std::string output;  // for stdout
    std::string error;   // for stderr
};

// Nothing when the program is to start as usual. arguments: without the program's name.
std::optional<CommandLineAnswer> AnswerCommandLine(const std::vector<std::string>& arguments);

}  // namespace horalia
