// Horalia.exe: the tray program on Windows. Builds the main form on the real ports and runs the
// message loop until the form unloads.
#include <windows.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/clip_log.h"
#include "app/form_main.h"
#include "app/win32/desktop_quiet.h"
#include "app/win32/main_window.h"
#include "app/win32/message_pump.h"
#include "app/win32/shell_process.h"
#include "common/locale_text.h"
#include "common/win32/ansi_text.h"
#include "config/ini_file.h"
#include "config/small_files.h"
#include "config/start_with_system.h"
#include "timesync/win32/system_clock_setter.h"
#include "timesync/win32/winsock_time_socket.h"
#include "ui/extras/win32/hook_loader.h"
#include "ui/extras/win32/secondary_windows.h"
#include "ui/extras/win32/shell_url_opener.h"

namespace horalia::win32 {
namespace {

// The log of played clips that the end-to-end tests ask for: only the test build reads it, the
// program people run (elevated) never writes where an environment variable points.
std::optional<std::filesystem::path> TestClipLogPath() {
#ifdef HORALIA_CLIP_LOG
    const std::wstring name = Utf8ToWide(kClipLogVariable);
    wchar_t value[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(name.c_str(), value, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return std::nullopt;
    }
    return std::filesystem::path(std::wstring(value, length));
#else
    return std::nullopt;
#endif
}

int RunTrayProgram(HINSTANCE instance) {
    ShellProcess process;
    // Before this process has a window of its own, which it would otherwise find.
    EndIfAlreadyRunning(process);

    MainWindow window(instance);
    if (!window.Create()) {
        return 1;
    }
    process.SetMainWindow(&window);

    WinsockTimeSocket socket;
    SystemClockSetter clockSetter;
    MessagePump pump;
    LibraryHooks hooks;
    SettingsRecord settings;
    ShellUrlOpener opener;
    const AppPaths paths = CurrentAppPaths();
    SecondaryWindows forms({instance, Config(), SystemStartStore(),
                            StartCommand(paths.executablePath), settings, pump, opener});

    std::optional<ClipLogPlayer> loggingPlayer;
    if (const std::optional<std::filesystem::path> log = TestClipLogPath()) {
        loggingPlayer.emplace(SystemClipPlayer(), *log);
    }
    ClipPlayer& player =
        loggingPlayer ? static_cast<ClipPlayer&>(*loggingPlayer) : SystemClipPlayer();

    QuietSources desktopQuiet;
    desktopQuiet.Add(std::make_unique<NotificationStateQuiet>());

    using Timer = WindowTimers::Id;
    WindowPorts& ports = window.Ports();
    Form_Main form({
        .paths = paths,
        .clock = SystemClock(),
        .locale = SystemLocale(),
        .stores = {.config = Config(),
                   .startStore = SystemStartStore(),
                   .settings = settings,
                   .files = SystemFiles()},
        .desktop = {.tray = window.Tray(),
                    .process = process,
                    .forms = forms,
                    .hooks = hooks,
                    .hotkey = ports.hotkey,
                    .quiet = desktopQuiet},
        .sound = {.player = player, .ui = ports.tasks},
        .timeServer = {.socket = socket,
                       .replyTimer = socket.ReplyTimer(),
                       .clockSetter = clockSetter,
                       .zoneClock = SystemZoneClock()},
        .timers = {.trayClock = ports.timers[Timer::更新托盘显示时间],
                   .announce = ports.timers[Timer::自动报时],
                   .sync = ports.timers[Timer::自动校时],
                   .update = ports.timers[Timer::自动升级]},
    });
    socket.SetEvents(&form.Winsock_时间同步());
    window.Attach(&form);

    form.Form_Load();
    const int exitCode = RunMessageLoop();

    // The form goes first: nothing may reach it from here on.
    window.Attach(nullptr);
    socket.SetEvents(nullptr);
    return exitCode;
}

}  // namespace
}  // namespace horalia::win32

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return horalia::win32::RunTrayProgram(instance);
}
