#include "extlibs/desktop/linux/desktop_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string_view>
#include <thread>

extern char** environ;

namespace horalia::desktop {
namespace {

// A dialog's answer is a short text; anything beyond this is not read.
constexpr std::size_t kMaxOutput = 1 << 20;
constexpr auto kOpenVerdictWait = std::chrono::seconds(5);

class FileActions {
  public:
    FileActions() { posix_spawn_file_actions_init(&actions_); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
};

class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    void Close() {
        if (fd_ >= 0)
            close(fd_);
        fd_ = -1;
    }

  private:
    int fd_;
};

bool IsExecutableOnPath(std::string_view name) {
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        rest.remove_prefix(colon == std::string_view::npos ? rest.size() : colon + 1);
        if (dir.empty())
            continue;
        const std::string candidate = std::string(dir) + "/" + std::string(name);
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(candidate.c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

std::vector<char*> ArgvPointers(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    for (const std::string& arg : argv)
        pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// posix_spawnp with the given standard input and output (-1: /dev/null) and nothing else of
// ours inherited.
std::optional<pid_t> Spawn(const std::vector<std::string>& argv, int childStdin, int childStdout) {
    if (argv.empty())
        return std::nullopt;
    FileActions actions;
    if (childStdin >= 0)
        posix_spawn_file_actions_adddup2(actions.get(), childStdin, STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (childStdout >= 0)
        posix_spawn_file_actions_adddup2(actions.get(), childStdout, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(actions.get(), STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(actions.get(), STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(actions.get(), STDERR_FILENO + 1);
    pid_t pid = 0;
    std::vector<char*> args = ArgvPointers(argv);
    if (posix_spawnp(&pid, args[0], actions.get(), nullptr, args.data(), environ) != 0)
        return std::nullopt;
    return pid;
}

int ExitStatusOf(int waitStatus) {
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

std::optional<int> WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return std::nullopt;
    }
    return ExitStatusOf(status);
}

// Sends all of `text` without raising SIGPIPE when the child never reads it.
void SendAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t sent = send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return;
        text.remove_prefix(static_cast<std::size_t>(sent));
    }
}

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    while (text.size() < kMaxOutput) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

}  // namespace

DialogTool FindDialogTool() {
    if (IsExecutableOnPath("zenity"))
        return DialogTool::kZenity;
    if (IsExecutableOnPath("kdialog"))
        return DialogTool::kKdialog;
    return DialogTool::kNone;
}

std::optional<ChildResult> RunAndWait(const std::vector<std::string>& argv,
                                      const std::string& input) {
    // A socket rather than a pipe for the input, so that writing to a child that has exited
    // cannot raise SIGPIPE in the host program.
    int inputPair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, inputPair) != 0)
        return std::nullopt;
    Descriptor inputOurs(inputPair[0]), inputChild(inputPair[1]);
    int outputPipe[2];
    if (pipe2(outputPipe, O_CLOEXEC) != 0)
        return std::nullopt;
    Descriptor outputOurs(outputPipe[0]), outputChild(outputPipe[1]);

    const std::optional<pid_t> pid = Spawn(argv, inputChild.get(), outputChild.get());
    inputChild.Close();
    outputChild.Close();
    if (!pid)
        return std::nullopt;
    // The input is at most a comment of a few kilobytes, well within the socket's buffer, so
    // sending it all before reading cannot dead-lock against a child that writes first.
    SendAll(inputOurs.get(), input);
    shutdown(inputOurs.get(), SHUT_WR);
    ChildResult result;
    result.output = ReadAll(outputOurs.get());
    outputOurs.Close();  // a child still writing now gets EPIPE, not a hang
    const std::optional<int> status = WaitFor(*pid);
    if (!status)
        return std::nullopt;
    result.exitStatus = *status;
    return result;
}

bool OpenWithDesktop(const std::string& url) {
    const std::optional<pid_t> pid = Spawn({"xdg-open", url}, -1, -1);
    if (!pid)
        return false;
    const auto deadline = std::chrono::steady_clock::now() + kOpenVerdictWait;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        const pid_t done = waitpid(*pid, &status, WNOHANG);
        if (done == *pid)
            return ExitStatusOf(status) == 0;
        if (done < 0 && errno != EINTR)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // Some handlers keep xdg-open waiting until the browser or mail program closes.
    std::thread([child = *pid] { WaitFor(child); }).detach();
    return true;
}

}  // namespace horalia::desktop
