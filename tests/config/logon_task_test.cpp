#include "config/logon_task.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/fake_start_store.h"

namespace horalia {
namespace {

const LogonTaskUser kAlice{"S-1-5-21-1004336348-1177238915-682003330-1001", "PC\\alice"};
const LogonTaskUser kBob{"S-1-5-21-1004336348-1177238915-682003330-1002", "PC\\bob"};
const LogonTaskUser kAdmin{"S-1-5-21-1004336348-1177238915-682003330-500", "PC\\Administrator"};
constexpr char kCommand[] = "\"C:\\Program Files\\Horalia\\Horalia.exe\"";

// The children each element may have, from the Task Scheduler schema as Microsoft documents it
// (learn.microsoft.com/windows/win32/taskschd: taskType, registrationInfoType, triggersType,
// triggerBaseType with logonTriggerType, principalsType, principalType, settingsType,
// actionsType, execType).
const std::map<std::string, std::set<std::string>> kSchemaChildren = {
    {"", {"Task"}},
    {"Task", {"RegistrationInfo", "Triggers", "Settings", "Data", "Principals", "Actions"}},
    {"RegistrationInfo",
     {"URI", "SecurityDescriptor", "Source", "Date", "Author", "Version", "Description",
      "Documentation"}},
    {"Triggers",
     {"BootTrigger", "RegistrationTrigger", "IdleTrigger", "TimeTrigger", "EventTrigger",
      "LogonTrigger", "SessionStateChangeTrigger", "CalendarTrigger"}},
    {"LogonTrigger",
     {"Enabled", "StartBoundary", "EndBoundary", "Repetition", "ExecutionTimeLimit", "UserId",
      "Delay"}},
    {"Principals", {"Principal"}},
    {"Principal",
     {"UserId", "LogonType", "GroupId", "DisplayName", "RunLevel", "ProcessTokenSidType",
      "RequiredPrivileges"}},
    {"Settings",
     {"AllowStartOnDemand", "RestartOnFailure", "MultipleInstancesPolicy",
      "DisallowStartIfOnBatteries", "StopIfGoingOnBatteries", "AllowHardTerminate",
      "StartWhenAvailable", "NetworkProfileName", "RunOnlyIfNetworkAvailable", "WakeToRun",
      "Enabled", "Hidden", "DeleteExpiredTaskAfter", "IdleSettings", "NetworkSettings",
      "ExecutionTimeLimit", "Priority", "RunOnlyIfIdle"}},
    {"Actions", {"Exec", "ComHandler", "SendEmail", "ShowMessage"}},
    {"Exec", {"Command", "Arguments", "WorkingDirectory"}},
};

// The XML's elements as "Task/Settings/Priority" -> text, checking on the way that every tag is
// closed in order and every element is one its parent may have. Enough for the flat XML the
// program writes: no comments, no CDATA, attributes only on the opening tags.
std::map<std::string, std::string> SchemaCheckedElements(const std::string& xml) {
    std::map<std::string, std::string> elements;
    std::vector<std::string> open;
    std::size_t at = xml.find("?>");
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-16\"?>", 0), 0u);
    std::string text;
    for (at += 2; (at = xml.find('<', at)) != std::string::npos;) {
        const std::size_t end = xml.find('>', at);
        std::string tag = xml.substr(at + 1, end - at - 1);
        const std::size_t textEnd = xml.find('<', end);
        const std::string following = xml.substr(end + 1, textEnd - end - 1);
        at = end;
        if (tag.front() == '/') {
            EXPECT_FALSE(open.empty());
            EXPECT_EQ(tag.substr(1), open.back());
            std::string path;
            for (const std::string& name : open) {
                path += (path.empty() ? "" : "/") + name;
            }
            elements[path] = text;
            open.pop_back();
            text.clear();
            continue;
        }
        const std::string name = tag.substr(0, tag.find(' '));
        const std::string parent = open.empty() ? "" : open.back();
        EXPECT_TRUE(kSchemaChildren.at(parent).count(name)) << name << " in " << parent;
        open.push_back(name);
        text = following;
    }
    EXPECT_TRUE(open.empty());
    return elements;
}

TEST(LogonTaskXml, IsEachPersonsOwnAtNormalPriority) {
    for (const LogonTaskUser& user : {kAlice, kBob}) {
        const LogonTask task{user.sid, user.account, "C:\\R&D <tools>\\Horalia.exe", ""};
        const std::map<std::string, std::string> e = SchemaCheckedElements(LogonTaskXml(task));
        EXPECT_EQ(e.at("Task/Triggers/LogonTrigger/UserId"), user.sid);
        EXPECT_EQ(e.at("Task/Triggers/LogonTrigger/Enabled"), "true");
        EXPECT_EQ(e.at("Task/Principals/Principal/UserId"), user.sid);
        EXPECT_EQ(e.at("Task/Principals/Principal/LogonType"), "InteractiveToken");
        EXPECT_EQ(e.at("Task/Principals/Principal/RunLevel"), "HighestAvailable");
        EXPECT_EQ(e.at("Task/Settings/Priority"), "6");
        EXPECT_EQ(e.at("Task/Settings/MultipleInstancesPolicy"), "IgnoreNew");
        EXPECT_EQ(e.at("Task/Settings/ExecutionTimeLimit"), "PT0S");
        EXPECT_EQ(e.at("Task/Settings/DisallowStartIfOnBatteries"), "false");
        EXPECT_EQ(e.at("Task/Settings/StopIfGoingOnBatteries"), "false");
        EXPECT_EQ(e.at("Task/RegistrationInfo/Author"), user.account);
        EXPECT_EQ(e.at("Task/Actions/Exec/Command"), "C:\\R&amp;D &lt;tools&gt;\\Horalia.exe");
        EXPECT_EQ(e.count("Task/Actions/Exec/Arguments"), 0u);
    }
    const LogonTask withArguments{kAlice.sid, kAlice.account, "C:\\H.exe", "--quiet \"a b\""};
    EXPECT_EQ(SchemaCheckedElements(LogonTaskXml(withArguments)).at("Task/Actions/Exec/Arguments"),
              "--quiet &quot;a b&quot;");
}

TEST(LogonTaskPath, CarriesTheUserInTheProgramsFolder) {
    EXPECT_EQ(LogonTaskPath(kAlice.sid),
              "\\Horalia\\Chimewick S-1-5-21-1004336348-1177238915-682003330-1001");
    EXPECT_NE(LogonTaskPath(kAlice.sid), LogonTaskPath(kBob.sid));
}

TEST(StartsFor, BothUsersMustBeThePersons) {
    const struct {
        std::string trigger;
        std::string principal;
        bool starts;
    } cases[] = {
        {kAlice.sid, kAlice.sid, true},
        {"s-1-5-21-1004336348-1177238915-682003330-1001", kAlice.sid, true},
        {kBob.sid, kAlice.sid, false},  // fires at Bob's log-on
        {kAlice.sid, kBob.sid, false},  // runs as Bob
        {"", kAlice.sid, false},        // fires at everybody's log-on
        {kAlice.sid + "0", kAlice.sid, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartsFor({"C:\\H.exe", "", c.trigger, c.principal}, kAlice.sid), c.starts)
            << c.trigger << " / " << c.principal;
    }
    EXPECT_FALSE(StartsFor({"C:\\H.exe", "", "", ""}, ""));
}

TEST(SplitStartCommand, TakesTheQuotedProgramAndTheRest) {
    const struct {
        std::string command, program, arguments;
    } cases[] = {
        {kCommand, "C:\\Program Files\\Horalia\\Horalia.exe", ""},
        {"\"D:\\\\Horalia.exe\" --x  y", "D:\\\\Horalia.exe", "--x  y"},
        {"C:\\H.exe", "C:\\H.exe", ""},
        {"\"C:\\unclosed", "\"C:\\unclosed", ""},
    };
    for (const auto& c : cases) {
        std::string program, arguments;
        SplitStartCommand(c.command, program, arguments);
        EXPECT_EQ(program, c.program) << c.command;
        EXPECT_EQ(arguments, c.arguments) << c.command;
        if (c.command.front() == '"' && c.program.front() != '"') {
            EXPECT_EQ(CommandOf({program, arguments, "", ""}),
                      c.arguments.empty() ? c.command : "\"" + program + "\" " + arguments);
        }
    }
}

// One Task Scheduler for the whole computer, as every person's program sees it.
class FakeTaskScheduler final : public TaskSchedulerPort {
  public:
    std::optional<RegisteredLogonTask> Find(const std::string& path) override {
        const auto found = tasks.find(path);
        return found == tasks.end() ? std::nullopt : std::optional(found->second);
    }
    bool Register(const std::string& path, const LogonTask& task) override {
        if (!registrable) {
            return false;
        }
        tasks[path] = {task.program, task.arguments, task.userSid, task.userSid};
        return true;
    }
    bool Delete(const std::string& path) override { return tasks.erase(path) == 1; }

    std::map<std::string, RegisteredLogonTask> tasks;
    bool registrable = true;
};

TEST(PerUserLogonTaskStore, TwoPeopleEachHaveTheirOwnTaskAndTick) {
    FakeTaskScheduler scheduler;
    PerUserLogonTaskStore alice(scheduler, {kAlice, kAlice});
    PerUserLogonTaskStore bob(scheduler, {kBob, std::nullopt});

    EXPECT_TRUE(SetStartEntry(alice, kCommand, true));
    EXPECT_FALSE(IsStartRegistered(bob, kCommand));
    EXPECT_TRUE(SetStartEntry(bob, kCommand, true));
    EXPECT_EQ(scheduler.tasks.size(), 2u);
    EXPECT_TRUE(IsStartRegistered(alice, kCommand));

    EXPECT_TRUE(SetStartEntry(bob, kCommand, false));
    EXPECT_FALSE(IsStartRegistered(bob, kCommand));
    EXPECT_TRUE(IsStartRegistered(alice, kCommand));
    EXPECT_TRUE(scheduler.tasks.count(LogonTaskPath(kAlice.sid)));

    // A task at Alice's path that does not start for her (edited by hand) is not her tick.
    scheduler.tasks[LogonTaskPath(kAlice.sid)].triggerUser = kBob.sid;
    EXPECT_FALSE(IsStartRegistered(alice, kCommand));
}

TEST(PerUserLogonTaskStore, TheEarlierMachineWideTaskIsTakenOverByItsOwnerOnly) {
    FakeTaskScheduler scheduler;
    // The earlier version named the user in the trigger only.
    scheduler.tasks[kEarlierLogonTaskPath] = {"C:\\Program Files\\Horalia\\Horalia.exe", "",
                                              kAlice.sid, ""};
    PerUserLogonTaskStore alice(scheduler, {kAlice, kAlice});
    PerUserLogonTaskStore bob(scheduler, {kBob, kBob});

    EXPECT_FALSE(IsStartRegistered(bob, kCommand));
    EXPECT_TRUE(SetStartEntry(bob, kCommand, false));
    EXPECT_TRUE(scheduler.tasks.count(kEarlierLogonTaskPath));  // Bob's switch leaves it

    scheduler.registrable = false;
    EXPECT_TRUE(IsStartRegistered(alice, kCommand));  // not moved, still hers
    EXPECT_TRUE(scheduler.tasks.count(kEarlierLogonTaskPath));

    scheduler.registrable = true;
    EXPECT_TRUE(IsStartRegistered(alice, kCommand));
    EXPECT_FALSE(scheduler.tasks.count(kEarlierLogonTaskPath));
    EXPECT_TRUE(IsStartRegistered(alice, kCommand));  // now from her own task
    EXPECT_EQ(scheduler.tasks.size(), 1u);
    EXPECT_EQ(scheduler.tasks.begin()->second.principalUser, kAlice.sid);

    // One that runs as somebody else is nobody's to take.
    scheduler.tasks = {{kEarlierLogonTaskPath, {"C:\\H.exe", "", kAlice.sid, kBob.sid}}};
    EXPECT_FALSE(IsStartRegistered(alice, kCommand));
    EXPECT_FALSE(IsStartRegistered(bob, kCommand));
    EXPECT_EQ(scheduler.tasks.size(), 1u);
}

TEST(PerUserLogonTaskStore, AnEarlierTaskOfTheOwnerGoesWithEveryChange) {
    for (const bool on : {true, false}) {
        FakeTaskScheduler scheduler;
        scheduler.tasks[kEarlierLogonTaskPath] = {"C:\\Old\\Horalia.exe", "", kAlice.sid,
                                                  kAlice.sid};
        PerUserLogonTaskStore alice(scheduler, {kAlice, kAlice});
        EXPECT_TRUE(SetStartEntry(alice, kCommand, on));
        EXPECT_FALSE(scheduler.tasks.count(kEarlierLogonTaskPath)) << on;
        EXPECT_EQ(IsStartRegistered(alice, kCommand), on);
    }
}

// A standard user's program elevated with the administrator's password runs as the
// administrator: nothing is set or removed, for either of them, and the person reads why.
TEST(PerUserLogonTaskStore, RunningAsAnotherAccountChangesNothing) {
    FakeTaskScheduler scheduler;
    PerUserLogonTaskStore administrator(scheduler, {kAdmin, kAdmin});
    ASSERT_TRUE(SetStartEntry(administrator, kCommand, true));
    PerUserLogonTaskStore elevated(scheduler, {kAdmin, kAlice});
    fakes::FakeStartStore runValue;
    runValue.entry = kCommand;
    ReplacingStartStore store(elevated, runValue);

    EXPECT_FALSE(IsStartRegistered(store, kCommand));
    EXPECT_FALSE(SetStartEntry(store, kCommand, true));
    EXPECT_EQ(scheduler.tasks.size(), 1u);
    SetStartEntry(store, kCommand, false);
    EXPECT_TRUE(IsStartRegistered(administrator, kCommand));
    EXPECT_TRUE(runValue.entry.has_value());
    ASSERT_TRUE(store.Refusal().has_value());
    EXPECT_NE(store.Refusal()->find("PC\\Administrator"), std::string::npos);
    EXPECT_NE(store.Refusal()->find("PC\\alice"), std::string::npos);
    EXPECT_FALSE(administrator.Refusal().has_value());
}

}  // namespace
}  // namespace horalia
