#include "config/logon_task.h"

#include <gtest/gtest.h>

#include <map>
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
// triggerBaseType with logonTriggerType, principalType, settingsType, actionsType, execType).
const std::map<std::string, std::string> kSchemaChildren = {
    {"", "Task"},
    {"Task", "RegistrationInfo Triggers Settings Data Principals Actions"},
    {"RegistrationInfo", "URI SecurityDescriptor Source Date Author Version Description"},
    {"Triggers",
     "BootTrigger RegistrationTrigger IdleTrigger TimeTrigger EventTrigger "
     "LogonTrigger SessionStateChangeTrigger CalendarTrigger"},
    {"LogonTrigger", "Enabled StartBoundary EndBoundary Repetition ExecutionTimeLimit UserId"},
    {"Principals", "Principal"},
    {"Principal", "UserId LogonType GroupId DisplayName RunLevel ProcessTokenSidType"},
    {"Settings",
     "AllowStartOnDemand RestartOnFailure MultipleInstancesPolicy "
     "DisallowStartIfOnBatteries StopIfGoingOnBatteries AllowHardTerminate "
     "StartWhenAvailable RunOnlyIfNetworkAvailable WakeToRun Enabled Hidden "
     "IdleSettings ExecutionTimeLimit Priority RunOnlyIfIdle"},
    {"Actions", "Exec ComHandler SendEmail ShowMessage"},
    {"Exec", "Command Arguments WorkingDirectory"},
};

// The XML's elements as "Task/Settings/Priority" -> text, checking on the way that every tag is
// closed in order and every element is one its parent may have. Enough for the flat XML the
// program writes: no comments, no CDATA, attributes only on the opening tags.
std::map<std::string, std::string> SchemaCheckedElements(const std::string& xml) {
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<Task ", 0), 0u);
    std::map<std::string, std::string> elements;
    std::vector<std::string> open{""};
    std::string path;
    for (std::size_t at = xml.find("<Task"); at != std::string::npos; at = xml.find('<', at)) {
        const std::size_t end = xml.find('>', at);
        const std::string tag = xml.substr(at + 1, end - at - 1);
        at = end;
        if (tag.front() == '/') {
            EXPECT_EQ(tag.substr(1), open.back());
            open.pop_back();
            path.resize(path.rfind('/') == std::string::npos ? 0 : path.rfind('/'));
            continue;
        }
        const std::string name = tag.substr(0, tag.find(' '));
        EXPECT_NE((" " + kSchemaChildren.at(open.back()) + " ").find(" " + name + " "),
                  std::string::npos)
            << name << " in " << open.back();
        open.push_back(name);
        path += (path.empty() ? "" : "/") + name;
        elements[path] = xml.substr(end + 1, xml.find('<', end) - end - 1);
    }
    EXPECT_EQ(open.size(), 1u);
    return elements;
}

TEST(LogonTaskXml, IsEachPersonsOwnAtNormalPriority) {
    for (const LogonTaskUser& user : {kAlice, kBob}) {
        const LogonTask task{user.sid, user.account, "C:\\R&D <tools>\\Horalia.exe", ""};
        const std::map<std::string, std::string> e = SchemaCheckedElements(LogonTaskXml(task));
        const std::map<std::string, std::string> expected = {
            {"Task/Triggers/LogonTrigger/UserId", user.sid},
            {"Task/Triggers/LogonTrigger/Enabled", "true"},
            {"Task/Principals/Principal/UserId", user.sid},
            {"Task/Principals/Principal/LogonType", "InteractiveToken"},
            {"Task/Principals/Principal/RunLevel", "HighestAvailable"},
            {"Task/Settings/Priority", "6"},
            {"Task/Settings/MultipleInstancesPolicy", "IgnoreNew"},
            {"Task/Settings/ExecutionTimeLimit", "PT0S"},
            {"Task/Settings/DisallowStartIfOnBatteries", "false"},
            {"Task/Settings/StopIfGoingOnBatteries", "false"},
            {"Task/RegistrationInfo/Author", user.account},
            {"Task/Actions/Exec/Command", "C:\\R&amp;D &lt;tools&gt;\\Horalia.exe"},
        };
        for (const auto& [path, value] : expected) {
            EXPECT_EQ(e.at(path), value) << path;
        }
        EXPECT_EQ(e.count("Task/Actions/Exec/Arguments"), 0u);
    }
    const LogonTask withArguments{kAlice.sid, kAlice.account, "C:\\H.exe", "--quiet \"a b\""};
    EXPECT_EQ(SchemaCheckedElements(LogonTaskXml(withArguments)).at("Task/Actions/Exec/Arguments"),
              "--quiet &quot;a b&quot;");
    EXPECT_EQ(LogonTaskPath(kAlice.sid),
              "\\Horalia\\Chimewick S-1-5-21-1004336348-1177238915-682003330-1001");
}

TEST(StartsFor, BothUsersMustBeThePersons) {
    const struct {
        std::string trigger, principal;
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
    const std::string bobsCommand = "\"D:\\Horalia.exe\" --x  y";  // split and joined again
    EXPECT_TRUE(SetStartEntry(bob, bobsCommand, true));
    EXPECT_EQ(scheduler.tasks.size(), 2u);
    EXPECT_EQ(scheduler.tasks[LogonTaskPath(kBob.sid)].arguments, "--x  y");
    EXPECT_TRUE(IsStartRegistered(alice, kCommand));

    EXPECT_TRUE(SetStartEntry(bob, bobsCommand, false));
    EXPECT_FALSE(IsStartRegistered(bob, bobsCommand));
    EXPECT_TRUE(IsStartRegistered(alice, kCommand));

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

    // Switching off takes an earlier task of the owner's away too.
    scheduler.tasks[kEarlierLogonTaskPath] = {"C:\\Old\\Horalia.exe", "", kAlice.sid, kAlice.sid};
    EXPECT_TRUE(SetStartEntry(alice, kCommand, false));
    EXPECT_TRUE(scheduler.tasks.empty());

    // One that runs as somebody else is nobody's to take.
    scheduler.tasks = {{kEarlierLogonTaskPath, {"C:\\H.exe", "", kAlice.sid, kBob.sid}}};
    EXPECT_FALSE(IsStartRegistered(alice, kCommand));
    EXPECT_FALSE(IsStartRegistered(bob, kCommand));
    EXPECT_EQ(scheduler.tasks.size(), 1u);
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
