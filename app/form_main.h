// Form_Main: the hidden main form that hosts everything. It owns the four timers, the tray icon
// and its menu and the time-server socket through ports; the shell creates the real ones and
// forwards each of their events to the handler of the same name here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/form_timer.h"
#include "app/main_form_ports.h"
#include "app/tray_menu.h"
#include "calendar/working_days.h"
#include "common/app_paths.h"
#include "common/clock.h"
#include "common/locale_text.h"
#include "common/ui_thread.h"
#include "common/zone_clock.h"
#include "config/ini_file.h"
#include "config/settings.h"
#include "config/small_files.h"
#include "config/start_with_system.h"
#include "timesync/time_sync.h"
#include "voice/announcer.h"
#include "voice/clip_player.h"
#include "voice/schedule.h"

namespace horalia {

// Where the settings live: Value.ini, the start-at-log-on entry, and the record read from both.
struct SettingsStores {
    读写配置& config;
    StartEntryStore& startStore;
    SettingsRecord& settings;
    SmallFiles& files;  // 节假日.txt beside Value.ini
};

// The desktop around the main form: its icon, its process, the windows it opens, the two hook
// libraries, the global hotkey and the desktop's wish for quiet.
struct DesktopPorts {
    TrayPort& tray;
    ProcessPort& process;
    FormsPort& forms;
    ExternalHooks& hooks;
    HotkeyPort& hotkey;  // 报时热键
    QuietSource& quiet;  // asked when 勿扰检测 is 1
};

// Where a sentence goes, and the thread the player's answers come back on.
struct SoundPorts {
    ClipPlayer& player;
    UiThread& ui;
};

// The time server's socket and answer timeout, and the clock a reply sets.
struct TimeServerPorts {
    TimeSocket& socket;
    OneShotTimer& replyTimer;
    ClockSetter& clockSetter;
    const ZoneClock& zoneClock;
};

// The real timers behind the main form's four.
struct MainFormTimerPorts {
    FormTimerPort& trayClock;  // Timer_更新托盘显示时间
    FormTimerPort& announce;   // Timer_自动报时
    FormTimerPort& sync;       // Timer_自动校时
    FormTimerPort& update;     // Timer_自动升级
};

// Everything the main form reaches, handed in by the shell (or by a test), group by group.
struct FormMainServices {
    AppPaths paths;
    const Clock& clock;
    const LocaleText& locale;
    SettingsStores stores;
    DesktopPorts desktop;
    SoundPorts sound;
    TimeServerPorts timeServer;
    MainFormTimerPorts timers;
};

inline constexpr std::int32_t kUpdateTimerIntervalMs = 2000;

// The notification shown when Value.ini cannot be written.
std::string SettingsNotSavedText(const std::string& iniPath);
// The notification shown when start at log-on cannot be changed.
std::string StartNotChangedText(const std::string& location);
// The notification shown when another program holds the announcement hotkey.
std::string HotkeyTakenText(const std::string& hotkey);
// The notification shown once a day when 报时日 is 工作日 and the year has no holiday data.
std::string NoHolidayDataText(int year, const std::string& holidayFilePath);

// A notice as one line of standard error: "2026-12-07 09:00:05 Horalia: 网络校时: text", the title
// left out when it is the program's name, line breaks made blanks.
std::string NoticeLine(const Moment& at, const std::string& title, const std::string& text);

// The creation step: ends the process at once when another instance's hidden window exists,
// saying so on standard error. Runs before this process has a window of its own, so it never
// finds itself.
void EndIfAlreadyRunning(ProcessPort& process);

class Form_Main final : public MainFormCallbacks, private TimeSyncListener {
  public:
    // The four timers are created enabled but armed only by Form_Load.
    explicit Form_Main(const FormMainServices& services);

    void Form_Load();

    // The shell's timer ports fired; each runs its handler when the firing is a tick.
    void Timer_更新托盘显示时间_Fired();
    void Timer_自动报时_Fired();
    void Timer_自动校时_Fired();
    void Timer_自动升级_Fired();

    void Timer_更新托盘显示时间_Timer();
    void Timer_自动报时_Timer();
    void Timer_自动校时_Timer();
    void Timer_自动升级_Timer();

    // button: 1 left, 2 right; any other does nothing.
    void TrayIcon_托盘图标_MouseClick(std::int16_t button);
    // The announcement hotkey was pressed: announces as a left click on the icon does.
    void Hotkey_报时热键_Pressed();
    void MenuChosen(TrayMenuEntry entry);

    void 托盘图标_开机启动_Click();
    void 托盘图标_网络校时_Click();
    void 托盘图标_参数设置_Click();
    void 托盘图标_意见反馈_Click();
    void 托盘图标_关于_Click();
    void 托盘图标_退出程序_Click();

    // MainFormCallbacks: what the settings dialog switches.
    void SetAnnounceTimerEnabled(bool enabled) override;
    void SetSyncTimerEnabled(bool enabled) override;
    void SetStartMenuChecked(bool checked) override;
    // Tells the person once per run, however many writes fail.
    void SettingsNotSaved() override;
    void RefreshSettings() override;
    void StartNotChanged() override;
    HotkeyState AnnounceHotkeyState() const override { return hotkeyState_; }

    bool MenuChecked(TrayMenuEntry entry) const;
    const FormTimer& TrayClockTimer() const { return trayClockTimer_; }
    const FormTimer& AnnounceTimer() const { return announceTimer_; }
    const FormTimer& SyncTimer() const { return syncTimer_; }
    const FormTimer& UpdateTimer() const { return updateTimer_; }
    语音报时& Voice() { return voice_; }
    TimeSync& Winsock_时间同步() { return timeSync_; }

  private:
    // A synchronisation the person asked for ends with a balloon (none after they answered no);
    // the hourly one is silent unless it left a large offset it had not reported yet.
    void OnTimeSyncFinished(const TimeSyncOutcome& outcome, SyncTrigger trigger) override;
    void OnLargeStepQuestion(const TimeSyncOutcome& outcome) override;
    // Announces with the settings as they stand whenever the announcement asks.
    void Announce(const Moment& moment);
    // Shows a notice beside the icon and writes it to standard error.
    void Notify(const std::string& title, const std::string& text);
    void SetChecked(TrayMenuEntry entry, bool checked);
    // The menu's check marks and the timers as the settings record says.
    void FollowSettings();
    void SetToolTipNow();
    // Holds the combination 报时热键 names, when it changed since the last call.
    void FollowHotkeySetting();
    // Asks the servers 校时服务器 names from the next synchronisation on, when it changed since
    // the last call; a text that is not a list of servers asks the built-in one.
    void FollowTimeServerSetting();
    // Once a day: reads 节假日.txt again (a person may have added days), and tells once that
    // 工作日 is guessed for a year without holiday data.
    void FollowWorkingDays(const Moment& now);

    AppPaths paths_;
    const Clock& clock_;
    const LocaleText& locale_;
    SettingsStores stores_;
    DesktopPorts desktop_;
    TimeSocket& socket_;
    语音报时 voice_;
    TimeSync timeSync_;
    AnnouncementSchedule schedule_;
    WorkingDayCalendar workingDays_;
    std::int32_t workingDaysRead_ = 0;    // the day (yyyymmdd) 节假日.txt was last read
    std::int32_t toldNoHolidayData_ = 0;  // the day the missing year was last told
    FormTimer trayClockTimer_;
    FormTimer announceTimer_;
    FormTimer syncTimer_;
    FormTimer updateTimer_;
    bool announceOffChecked_ = false;
    bool startChecked_ = false;
    bool toldNotSaved_ = false;
    std::optional<std::string> heldHotkey_;  // the setting last handed to the port
    HotkeyState hotkeyState_ = HotkeyState::kNone;
    std::optional<std::string> heldTimeServers_;  // the setting last handed to timeSync_
};

}  // namespace horalia
