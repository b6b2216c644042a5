#include "extlibs/desktop/linux/desktop_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

extern char** environ;

namespace horalia::desktop {
namespace {

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

// posix_spawnp with /dev/null for the standard streams and nothing else of ours inherited.
std::optional<pid_t> Spawn(std::vector<std::string> argv) {
    FileActions actions;
    posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(actions.get(), STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(actions.get(), STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(actions.get(), STDERR_FILENO + 1);
    std::vector<char*> args;
    for (std::string& arg : argv)
        args.push_back(arg.data());
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], actions.get(), nullptr, args.data(), environ) != 0)
        return std::nullopt;
    return pid;
}

int ExitStatusOf(int waitStatus) {
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

void WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

bool OpenWithDesktop(const std::string& url) {
    const std::optional<pid_t> pid = Spawn({"xdg-open", url});
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
