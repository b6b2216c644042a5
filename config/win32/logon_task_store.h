// The start entries of Windows: each person's log-on task in the Task Scheduler, and the Run
// value of earlier versions, which Windows ignores for a program that asks for administrator
// rights.
#pragma once

#include <optional>
#include <string>

#include "config/logon_task.h"
#include "config/start_with_system.h"

namespace horalia {

// The task "\Horalia\Chimewick <SID>" of the account the program runs as.
StartEntryStore& LogonTaskStartStore();
// HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run, value "Chimewick".
StartEntryStore& RunValueStartStore();

// This computer's Task Scheduler, and the people the program runs for.
TaskSchedulerPort& SystemTaskScheduler();
LogonTaskPeople CurrentLogonTaskPeople();

// What this computer's Task Scheduler reads in a task's XML, without registering it.
std::optional<RegisteredLogonTask> TaskSchedulerReading(const std::string& xml);

// Every person's log-on task, the program's task folder and the earlier machine-wide task, as
// an uninstaller removes them (it needs administrator rights for other people's tasks). True
// when none is left.
bool RemoveEveryLogonTask();

}  // namespace horalia
