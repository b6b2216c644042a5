// The start entries of Windows: a log-on task of the Task Scheduler, and the Run value of earlier
// versions, which Windows ignores for a program that asks for administrator rights.
#pragma once

#include "config/start_with_system.h"

namespace horalia {

// The task "Chimewick": at the current user's log-on, with the highest rights, the command.
StartEntryStore& LogonTaskStartStore();
// HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run, value "Chimewick".
StartEntryStore& RunValueStartStore();

}  // namespace horalia
