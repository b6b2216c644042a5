#include "config/logon_task.h"

#include <cctype>

namespace horalia {
namespace {

// Text as XML character data or attribute value.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Element(const char* name, const std::string& text) {
    return std::string("<") + name + ">" + Escaped(text) + "</" + name + ">";
}

// SIDs are compared as Windows compares them: "s-1-5-21-..." names the same account.
bool SameSid(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The earlier version named the person in the trigger only.
bool EarlierTaskStartsFor(const RegisteredLogonTask& task, const std::string& userSid) {
    return !userSid.empty() && SameSid(task.triggerUser, userSid) &&
           (task.principalUser.empty() || SameSid(task.principalUser, userSid));
}

}  // namespace

std::string LogonTaskPath(const std::string& userSid) {
    return std::string(kLogonTaskFolder) + "\\" + kStartEntryName + " " + userSid;
}

std::string LogonTaskXml(const LogonTask& task) {
    // Priority 6 is the lowest of the normal priorities the Task Scheduler keeps for interactive
    // programs; its default, 7, would run the clock below normal, its sound and disk access too.
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
        "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
        "  <RegistrationInfo>\n"
        "    " +
        Element("Author", task.account) +
        "\n"
        "    " +
        Element("Description", "在 " + task.account + " 登录时启动 Horalia 报时") +
        "\n"
        "  </RegistrationInfo>\n"
        "  <Triggers>\n"
        "    <LogonTrigger>\n"
        "      <Enabled>true</Enabled>\n"
        "      " +
        Element("UserId", task.userSid) +
        "\n"
        "    </LogonTrigger>\n"
        "  </Triggers>\n"
        "  <Principals>\n"
        "    <Principal id=\"Author\">\n"
        "      " +
        Element("UserId", task.userSid) +
        "\n"
        "      <LogonType>InteractiveToken</LogonType>\n"
        "      <RunLevel>HighestAvailable</RunLevel>\n"
        "    </Principal>\n"
        "  </Principals>\n"
        "  <Settings>\n"
        "    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\n"
        "    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\n"
        "    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\n"
        "    <ExecutionTimeLimit>PT0S</ExecutionTimeLimit>\n"
        "    <Priority>6</Priority>\n"
        "  </Settings>\n"
        "  <Actions Context=\"Author\">\n"
        "    <Exec>\n"
        "      " +
        Element("Command", task.program) + "\n";
    if (!task.arguments.empty()) {
        xml += "      " + Element("Arguments", task.arguments) + "\n";
    }
    xml +=
        "    </Exec>\n"
        "  </Actions>\n"
        "</Task>\n";
    return xml;
}

bool StartsFor(const RegisteredLogonTask& task, const std::string& userSid) {
    return !userSid.empty() && SameSid(task.triggerUser, userSid) &&
           SameSid(task.principalUser, userSid);
}

std::string CommandOf(const RegisteredLogonTask& task) {
    std::string command = "\"" + task.program + "\"";
    if (!task.arguments.empty()) {
        command += " " + task.arguments;
    }
    return command;
}

void SplitStartCommand(const std::string& command, std::string& program, std::string& arguments) {
    program = command;
    arguments.clear();
    if (command.size() >= 2 && command.front() == '"') {
        const std::size_t close = command.find('"', 1);
        if (close != std::string::npos) {
            program = command.substr(1, close - 1);
            const std::size_t rest = command.find_first_not_of(' ', close + 1);
            if (rest != std::string::npos) {
                arguments = command.substr(rest);
            }
        }
    }
}

std::optional<std::string> PerUserLogonTaskStore::Refusal() const {
    const std::optional<LogonTaskUser>& person = people_.session;
    if (!person || person->sid.empty() || SameSid(person->sid, Sid())) {
        return std::nullopt;
    }
    return "开机启动没有更改：程序正以 " + people_.process.account + " 的身份运行，登录的却是 " +
           person->account + "。Windows 登录时不为标准用户启动需要管理员权限的程序。";
}

bool PerUserLogonTaskStore::EarlierTaskIsMine() {
    const std::optional<RegisteredLogonTask> earlier = scheduler_.Find(kEarlierLogonTaskPath);
    return earlier && EarlierTaskStartsFor(*earlier, Sid());
}

std::optional<std::string> PerUserLogonTaskStore::Read() {
    if (Refusal()) {
        return std::nullopt;
    }
    const std::optional<RegisteredLogonTask> own = scheduler_.Find(LogonTaskPath(Sid()));
    if (own && StartsFor(*own, Sid())) {
        return CommandOf(*own);
    }
    const std::optional<RegisteredLogonTask> earlier = scheduler_.Find(kEarlierLogonTaskPath);
    if (!earlier || !EarlierTaskStartsFor(*earlier, Sid())) {
        return std::nullopt;
    }
    // The earlier task is this person's: it becomes their own task, and goes once that is made.
    const LogonTask task{Sid(), people_.process.account, earlier->program, earlier->arguments};
    if (scheduler_.Register(LogonTaskPath(Sid()), task)) {
        scheduler_.Delete(kEarlierLogonTaskPath);
    }
    return CommandOf(*earlier);
}

bool PerUserLogonTaskStore::Write(const std::string& command) {
    if (Refusal()) {
        return false;
    }
    LogonTask task{Sid(), people_.process.account, "", ""};
    SplitStartCommand(command, task.program, task.arguments);
    if (!scheduler_.Register(LogonTaskPath(Sid()), task)) {
        return false;
    }
    if (EarlierTaskIsMine()) {
        scheduler_.Delete(kEarlierLogonTaskPath);
    }
    return true;
}

bool PerUserLogonTaskStore::Remove() {
    if (Refusal()) {
        return false;
    }
    if (EarlierTaskIsMine()) {
        scheduler_.Delete(kEarlierLogonTaskPath);
    }
    return scheduler_.Delete(LogonTaskPath(Sid()));
}

std::string PerUserLogonTaskStore::Location() const {
    return "任务计划程序的任务 " + LogonTaskPath(Sid());
}

}  // namespace horalia
