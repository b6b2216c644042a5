#include "app/command_line.h"

#include "common/identity.h"

namespace horalia {

std::optional<CommandLineAnswer> AnswerCommandLine(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            return CommandLineAnswer{
                0,
                "Usage: horalia [--help | --version]\n"
                "Horalia speaks the time in Mandarin from the notification area: a left click on\n"
                "its clock icon announces the time, a right click opens its menu, and it also\n"
                "announces on the hour. Its settings are in its menu (参数设置) and in Value.ini.\n"
                "horalia-say speaks, prints or renders one announcement from a terminal.\n"
                "\n"
                "  --help     show this text\n"
                "  --version  show the version\n",
                ""};
        }
        if (argument == "--version") {
            return CommandLineAnswer{0, std::string("horalia ") + kProgramVersion + "\n", ""};
        }
        if (argument.starts_with("--")) {
            return CommandLineAnswer{2, "",
                                     "horalia: unknown option \"" + argument +
                                         "\"; horalia --help says what there is\n"};
        }
    }
    return std::nullopt;
}

}  // namespace horalia
