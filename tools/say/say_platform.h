// What horalia-say needs from the operating system besides the player and files: a console that
// shows UTF-8 and the arguments as UTF-8 (defined in linux/ or win32/).
#pragma once

#include <string>
#include <vector>

namespace horalia::say {

// Makes the console show UTF-8 output where it needs telling.
void PrepareConsole();

// The command line without the program name, as UTF-8.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace horalia::say
