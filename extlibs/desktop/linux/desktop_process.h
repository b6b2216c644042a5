// Child processes for the two libraries on Linux desktops: a dialog tool (zenity or kdialog) and
// xdg-open. Arguments go straight to posix_spawnp, never through a shell.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace horalia::desktop {

enum class DialogTool { kNone, kZenity, kKdialog };

// The first of zenity and kdialog found on PATH.
DialogTool FindDialogTool();

struct ChildResult {
    int exitStatus = -1;  // -1 when the child was killed by a signal
    std::string output;   // what it wrote to standard output
};

// Runs `argv` with `input` on its standard input and waits for it. Standard error goes to
// /dev/null and no other descriptor of ours is inherited. Nothing when it cannot be started.
std::optional<ChildResult> RunAndWait(const std::vector<std::string>& argv,
                                      const std::string& input = {});

// Opens a URL (a web page or a mailto: link) with the desktop's handler. Waits a few seconds for
// xdg-open's verdict; one still running then is taken as success and reaped in the background.
bool OpenWithDesktop(const std::string& url);

}  // namespace horalia::desktop
