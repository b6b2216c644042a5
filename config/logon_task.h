// Start at log-on through the Task Scheduler, one task per person, decided without the platform:
// the task's place and name, the XML text the Task Scheduler registers, whose a registered task
// is, and what a person's program does with the tasks it finds. The Windows leaf carries the
// calls to the Task Scheduler (TaskSchedulerPort) and names the people (LogonTaskPeople).
#pragma once

#include <optional>
#include <string>

#include "config/start_with_system.h"

namespace horalia {

// The program's tasks live in a folder of their own, one per person, named for the person's SID.
inline constexpr char kLogonTaskFolder[] = "\\Horalia";
// The one machine-wide task that an earlier version kept in the root folder.
inline constexpr char kEarlierLogonTaskPath[] = "\\Chimewick";

// "\Horalia\Chimewick S-1-5-21-...-1001"
std::string LogonTaskPath(const std::string& userSid);

// What the program registers: at this person's log-on, as this person with their highest rights,
// the program at normal priority; no time limit or battery rule that would end or hold back a
// program meant to run all day.
struct LogonTask {
    std::string userSid;
    std::string account;  // "PC\alice": the task's author, as the Task Scheduler window shows it
    std::string program;  // the executable's path, without quotes
    std::string arguments;
};

// The task as Task Scheduler XML (schema version 1.2: Windows Vista and later).
std::string LogonTaskXml(const LogonTask& task);

// A registered task as read back. The users are SIDs as the platform resolved them, empty when
// the task names none (a trigger without a user fires at everybody's log-on).
struct RegisteredLogonTask {
    std::string program;
    std::string arguments;
    std::string triggerUser;
    std::string principalUser;
};

// The task starts at this person's log-on and runs as this person.
bool StartsFor(const RegisteredLogonTask& task, const std::string& userSid);
// The task's command quoted as StartCommand quotes it, arguments after a space.
std::string CommandOf(const RegisteredLogonTask& task);

// The Task Scheduler as the store needs it. Paths are folder and name, "\Horalia\Chimewick ...".
class TaskSchedulerPort {
  public:
    virtual ~TaskSchedulerPort() = default;
    virtual std::optional<RegisteredLogonTask> Find(const std::string& path) = 0;
    // Creates the task or replaces the one at that path (making its folder if needed).
    virtual bool Register(const std::string& path, const LogonTask& task) = 0;
    virtual bool Delete(const std::string& path) = 0;
};

struct LogonTaskUser {
    std::string sid;
    std::string account;  // "PC\alice"
};

// The account the program runs as, and the person logged on to its session when that is known.
// They differ when a standard user's program was elevated with an administrator's password.
struct LogonTaskPeople {
    LogonTaskUser process;
    std::optional<LogonTaskUser> session;
};

// The start entry as the log-on task of the person the program runs for. A task of the earlier
// machine-wide kind is taken over by the person it starts for (moved to their own task) and
// counts for nobody else. The entry is not changed for the session's person while the program
// runs as somebody else: a task made then would start at the wrong person's log-on.
class PerUserLogonTaskStore final : public StartEntryStore {
  public:
    PerUserLogonTaskStore(TaskSchedulerPort& scheduler, LogonTaskPeople people)
        : scheduler_(scheduler), people_(std::move(people)) {}

    std::optional<std::string> Read() override;
    bool Write(const std::string& command) override;
    bool Remove() override;
    std::string Location() const override;
    std::optional<std::string> Refusal() const override;

  private:
    const std::string& Sid() const { return people_.process.sid; }
    bool EarlierTaskIsMine();

    TaskSchedulerPort& scheduler_;
    LogonTaskPeople people_;
};

// The command "\"C:\\Program Files\\Horalia\\Horalia.exe\" --x" split into program and arguments.
void SplitStartCommand(const std::string& command, std::string& program, std::string& arguments);

}  // namespace horalia
