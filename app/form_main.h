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

// Everything the main form reaches, handed in by the shell (or by a test).
struct FormMainServices {
    AppPaths paths;
    const Clock& clock;
    const LocaleText& locale;
    读写配置& config;
    StartEntryStore& startStore;
    SettingsRecord& settings;
    TrayPort& tray;
    ProcessPort& process;
    FormsPort& forms;
    ExternalHooks& hooks;
    ClipPlayer& player;
    UiThread& ui;  // where the player's answers come back
    TimeSocket& socket;
    ClockSetter& clockSetter;
    const ZoneClock& zoneClock;
    OneShotTimer& replyTimer;
    FormTimerPort& trayClockTimer;  // Timer_更新托盘显示时间
    FormTimerPort& announceTimer;   // Timer_自动报时
    FormTimerPort& syncTimer;       // Timer_自动校时
    FormTimerPort& updateTimer;     // Timer_自动升级
    HotkeyPort& hotkey;             // 报时热键
    QuietSource& desktopQuiet;      // asked when 勿扰检测 is 1
    SmallFiles& files;              // 节假日.txt beside Value.ini
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

// The creation step: ends the process at once, silently, when another instance's hidden window
// exists. Runs before this process has a window of its own, so it never finds itself.
void EndIfAlreadyRunning(ProcessPort& process);

class Form_Main final : public MainFormControls, private TimeSyncListener {
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

    // MainFormControls: what the settings dialog switches.
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
    // A synchronisation the person asked for ends with a balloon; the hourly one is silent.
    void OnTimeSyncFinished(const TimeSyncOutcome& outcome, SyncTrigger trigger) override;
    // Announces with the settings as they stand whenever the announcement asks.
    void Announce(const Moment& moment);
    void SetChecked(TrayMenuEntry entry, bool checked);
    // The menu's check marks and the timers as the settings record says.
    void FollowSettings();
    void SetToolTipNow();
    // Holds the combination 报时热键 names, when it changed since the last call.
    void FollowHotkeySetting();
    // Once a day: reads 节假日.txt again (a person may have added days), and tells once that
    // 工作日 is guessed for a year without holiday data.
    void FollowWorkingDays(const Moment& now);

    FormMainServices s_;
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
};

}  // namespace horalia
