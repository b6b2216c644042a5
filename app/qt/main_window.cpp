#include "app/qt/main_window.h"

#include "app/qt/desktop_quiet.h"
#include "common/identity.h"
#include "common/locale_text.h"
#include "config/ini_file.h"
#include "config/small_files.h"
#include "config/start_with_system.h"
#include "voice/clip_player.h"

namespace horalia::qt {

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/horalia-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

MainWindow::MainWindow(QtProcess& process)
    : process_(process),
      paths_(CurrentAppPaths()),
      tray_(ApplicationIcon()),
      forms_(SecondaryWindowsServices{Config(), SystemStartStore(),
                                      StartCommand(paths_.executablePath), settings_, pump_,
                                      opener_}),
      hooks_(HookLibraryFolders(paths_.appFolder)),
      hotkey_(MakeDesktopHotkey()),
      desktopQuiet_(DesktopQuietSources()),
      form_({
          .paths = paths_,
          .clock = SystemClock(),
          .locale = SystemLocale(),
          .stores = {.config = Config(),
                     .startStore = SystemStartStore(),
                     .settings = settings_,
                     .files = SystemFiles()},
          .desktop = {.tray = tray_,
                      .process = process_,
                      .forms = forms_,
                      .hooks = hooks_,
                      .hotkey = *hotkey_,
                      .quiet = desktopQuiet_},
          .sound = {.player = SystemClipPlayer(), .ui = pump_},
          .timeServer = {.socket = socket_,
                         .replyTimer = socket_.ReplyTimer(),
                         .clockSetter = clockSetter_,
                         .zoneClock = SystemZoneClock()},
          .timers = {.trayClock = trayClockTimer_,
                     .announce = announceTimer_,
                     .sync = syncTimer_,
                     .update = updateTimer_},
      }) {
    window_.setWindowTitle(QString::fromUtf8(kMainWindowTitle));
    window_.setWindowIcon(ApplicationIcon());
    ConnectHandlers();
}

void MainWindow::ConnectHandlers() {
    trayClockTimer_.OnFire([this] { form_.Timer_更新托盘显示时间_Fired(); });
    announceTimer_.OnFire([this] { form_.Timer_自动报时_Fired(); });
    syncTimer_.OnFire([this] { form_.Timer_自动校时_Fired(); });
    updateTimer_.OnFire([this] { form_.Timer_自动升级_Fired(); });
    tray_.OnClick([this](std::int16_t button) { form_.TrayIcon_托盘图标_MouseClick(button); });
    tray_.OnMenuChosen([this](TrayMenuEntry entry) { form_.MenuChosen(entry); });
    hotkey_->OnPressed([this] { form_.Hotkey_报时热键_Pressed(); });
    socket_.SetEvents(&form_.Winsock_时间同步());
    clockSetter_.OnAnswer(
        [this](ClockSetResult result) { form_.Winsock_时间同步().OnClockSetAnswered(result); });
    process_.OnUnload([this] { tray_.Hide(); });
}

void MainWindow::Load() {
    form_.Form_Load();
    tray_.ShowWhenTrayAvailable();
}

}  // namespace horalia::qt
