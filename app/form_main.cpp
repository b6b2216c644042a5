#include "app/form_main.h"

#include <cstdio>

#include "app/sync_notice.h"
#include "app/tooltip.h"
#include "common/identity.h"
#include "timesync/time_server.h"
#include "ui/extras/ad_decision.h"
#include "ui/extras/urls.h"

namespace horalia {

std::string StartNotChangedText(const std::string& location) {
    return "开机启动未能更改，保持原样。不能写入 " + location;
}

std::string SettingsNotSavedText(const std::string& iniPath) {
    // The path last: a balloon too small for a long one cuts it, not the message.
    return "新的设置无法保存，只在本次运行中有效。不能写入 " + iniPath;
}

std::string HotkeyTakenText(const std::string& hotkey) {
    return "报时热键 " + hotkey + " 已被其他程序占用，没有设置。可在高级设置中换一个组合键。";
}

std::string NoticeLine(const Moment& at, const std::string& title, const std::string& text) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", at.year, at.month, at.day,
                  at.hour, at.minute, at.second);
    std::string line = std::string(stamp) + " " + kProgramName + ": ";
    if (title != kProgramName) {
        line += title + ": ";
    }
    for (const char c : text) {
        line += c == '\r' || c == '\n' ? ' ' : c;
    }
    return line + "\n";
}

std::string NoHolidayDataText(int year, const std::string& holidayFilePath) {
    const std::string y = std::to_string(year);
    // The path last, as above.
    return "没有 " + y +
           " 年的节假日安排，报时日“工作日”暂按周一至周五报时。可在此文件中每行添加一天，例如“" +
           y + "-10-01 休”或“" + y + "-09-26 班”：" + holidayFilePath;
}

void EndIfAlreadyRunning(ProcessPort& process) {
    if (process.MarkerWindowExists(kMainWindowTitle)) {
        // Said for a person who started it from a terminal; the status stays 0.
        std::fputs("horalia: Horalia is already running; this start ends\n", stderr);
        std::fflush(stderr);  // before an exit that may not flush the C runtime's buffers
        process.EndProcessNow();
    }
}

Form_Main::Form_Main(const FormMainServices& services)
    : paths_(services.paths),
      clock_(services.clock),
      locale_(services.locale),
      stores_(services.stores),
      desktop_(services.desktop),
      socket_(services.timeServer.socket),
      voice_(services.sound.player, services.sound.ui, paths_.soundFolder),
      timeSync_(services.timeServer.socket, services.timeServer.clockSetter,
                services.timeServer.replyTimer, services.timeServer.zoneClock),
      trayClockTimer_(services.timers.trayClock, clock_, 1000),
      announceTimer_(services.timers.announce, clock_, 1000),
      syncTimer_(services.timers.sync, clock_, kSyncTimerIntervalMilliseconds),
      updateTimer_(services.timers.update, clock_, kUpdateTimerIntervalMs) {
    timeSync_.SetListener(this);
}

void Form_Main::Form_Load() {
    stores_.config.SpecifyIni(paths_.iniPath);
    LoadSettings(stores_.config, stores_.startStore, StartCommand(paths_.executablePath),
                 stores_.settings);
    trayClockTimer_.SetEnabled(true);
    FollowSettings();
    updateTimer_.SetEnabled(true);
    SetToolTipNow();
    desktop_.process.SetCurrentFolder(paths_.appFolder);
}

// Values other than 0 and 1 (a hand-edited file) leave the timers as created: running.
void Form_Main::FollowSettings() {
    SetChecked(TrayMenuEntry::托盘图标_关闭报时, stores_.settings.AnnounceOff != 0);
    SetChecked(TrayMenuEntry::托盘图标_开机启动, stores_.settings.StartWithWindows != 0);
    SetAnnounceTimerEnabled(ScheduleRuns(stores_.settings));
    SetSyncTimerEnabled(stores_.settings.AutoSyncOff != 1);
    FollowHotkeySetting();
    FollowTimeServerSetting();
}

void Form_Main::FollowHotkeySetting() {
    const std::string& wanted = stores_.settings.AnnounceHotkey;
    if (heldHotkey_ == wanted) {
        return;
    }
    heldHotkey_ = wanted;
    const std::optional<Hotkey> hotkey = ParseHotkey(wanted);
    if (!hotkey) {
        desktop_.hotkey.Unregister();
        hotkeyState_ = HotkeyState::kNone;
        return;
    }
    hotkeyState_ = desktop_.hotkey.Register(*hotkey);
    if (hotkeyState_ == HotkeyState::kTaken) {
        Notify(kProgramName, HotkeyTakenText(wanted));
    }
}

void Form_Main::FollowTimeServerSetting() {
    const std::string& wanted = stores_.settings.TimeServers;
    if (heldTimeServers_ == wanted) {
        return;
    }
    heldTimeServers_ = wanted;
    timeSync_.SetServers(TimeServersOrBuiltIn(wanted));
}

void Form_Main::RefreshSettings() {
    if (stores_.config.FileChanged()) {
        LoadSettings(stores_.config, stores_.startStore, StartCommand(paths_.executablePath),
                     stores_.settings);
        FollowSettings();
    }
    FollowHotkeySetting();  // the advanced page may have changed it in the record
    FollowTimeServerSetting();
}

void Form_Main::Timer_更新托盘显示时间_Fired() {
    if (trayClockTimer_.Fired()) {
        Timer_更新托盘显示时间_Timer();
    }
}

void Form_Main::Timer_自动报时_Fired() {
    if (announceTimer_.Fired()) {
        Timer_自动报时_Timer();
    }
}

void Form_Main::Timer_自动校时_Fired() {
    if (syncTimer_.Fired()) {
        Timer_自动校时_Timer();
    }
}

void Form_Main::Timer_自动升级_Fired() {
    if (updateTimer_.Fired()) {
        Timer_自动升级_Timer();
    }
}

void Form_Main::Timer_更新托盘显示时间_Timer() {
    RefreshSettings();  // a hand edit of Value.ini counts from the next second on
    SetToolTipNow();
}

void Form_Main::Timer_自动报时_Timer() {
    // One reading of the clock serves the test and the announcement.
    const Moment now = clock_.Now();
    FollowWorkingDays(now);
    const std::optional<Moment> due = schedule_.Tick(now, stores_.settings, workingDays_);
    // Asked only when an announcement is due: the desktop's answer may take a round trip.
    if (due && !(stores_.settings.DesktopQuietCheck == 1 && desktop_.quiet.AsksForQuiet())) {
        Announce(*due);
    }
}

void Form_Main::FollowWorkingDays(const Moment& now) {
    const std::int32_t today = now.year * 10000 + now.month * 100 + now.day;
    if (workingDaysRead_ != today) {
        workingDaysRead_ = today;
        workingDays_ = WorkingDayCalendar();
        const FileContent file =
            stores_.files.Read(HolidayFilePath(paths_.iniPath), kHolidayFileMaxBytes);
        if (file.status == ReadStatus::kOk) {
            workingDays_.AddFileText(file.bytes);
        }
    }
    if (toldNoHolidayData_ == today) {
        return;
    }
    if (const std::optional<int> year =
            YearWithoutHolidayData(now, stores_.settings, workingDays_)) {
        toldNoHolidayData_ = today;
        Notify(kProgramName, NoHolidayDataText(*year, HolidayFilePath(paths_.iniPath)));
    }
}

void Form_Main::Timer_自动校时_Timer() {
    timeSync_.OnSyncTimerTick();
}

void Form_Main::Timer_自动升级_Timer() {
    desktop_.hooks.DoUpdate(kUpdateUrl);
    const AdDecision ad =
        DecideAdvertisement(stores_.settings.AdMode, stores_.settings.AdShownDate, clock_.Now());
    if (ad.load) {
        desktop_.forms.LoadAdvertisement();
    }
    if (ad.dateToRecord) {
        const SettingsRecord before = stores_.settings;
        stores_.settings.AdShownDate = *ad.dateToRecord;
        if (!SaveSettings(stores_.config, before, stores_.settings, SettingsPage::kProgram)) {
            SettingsNotSaved();
        }
    }
    updateTimer_.SetEnabled(false);
}

void Form_Main::Announce(const Moment& moment) {
    voice_.Announce(moment, [this] {
        const SettingsRecord& settings = stores_.settings;
        return AnnouncementOptions{settings.AnnounceFormat, settings.NaturalReading == 1,
                                   settings.Volume, settings.VoiceFolder, settings.LunarMode};
    });
}

void Form_Main::TrayIcon_托盘图标_MouseClick(std::int16_t button) {
    if (button == 1) {
        Announce(clock_.Now());
    } else if (button == 2) {
        desktop_.tray.PopupMenuAtPointer();
    }
}

void Form_Main::Hotkey_报时热键_Pressed() {
    Announce(clock_.Now());
}

void Form_Main::MenuChosen(TrayMenuEntry entry) {
    switch (entry) {
        case TrayMenuEntry::托盘图标_开机启动:
            return 托盘图标_开机启动_Click();
        case TrayMenuEntry::托盘图标_网络校时:
            return 托盘图标_网络校时_Click();
        case TrayMenuEntry::托盘图标_参数设置:
            return 托盘图标_参数设置_Click();
        case TrayMenuEntry::托盘图标_意见反馈:
            return 托盘图标_意见反馈_Click();
        case TrayMenuEntry::托盘图标_关于:
            return 托盘图标_关于_Click();
        case TrayMenuEntry::托盘图标_退出程序:
            return 托盘图标_退出程序_Click();
        default:
            return;  // 关闭报时 cannot be chosen; separators have no action
    }
}

void Form_Main::托盘图标_开机启动_Click() {
    const bool on = !startChecked_;
    if (!SetStartEntry(stores_.startStore, StartCommand(paths_.executablePath), on)) {
        StartNotChanged();
        return;
    }
    SetChecked(TrayMenuEntry::托盘图标_开机启动, on);
    stores_.settings.StartWithWindows = on ? 1 : 0;
}

void Form_Main::StartNotChanged() {
    const std::optional<std::string> refusal = stores_.startStore.Refusal();
    Notify(kProgramName, refusal ? *refusal : StartNotChangedText(stores_.startStore.Location()));
}

void Form_Main::托盘图标_网络校时_Click() {
    timeSync_.RequestTimeSync(SyncTrigger::kMenu);
}

void Form_Main::OnTimeSyncFinished(const TimeSyncOutcome& outcome, SyncTrigger trigger) {
    using Kind = TimeSyncOutcome::Kind;
    if (trigger == SyncTrigger::kMenu && outcome.kind != Kind::kDeclined) {
        Notify(kTimeSyncNoticeTitle, TimeSyncNoticeText(outcome, outcome.server));
    } else if (outcome.kind == Kind::kTooFar && !outcome.toldBefore) {
        Notify(kTimeSyncNoticeTitle, TooFarNoticeText(outcome));
    }
}

void Form_Main::OnLargeStepQuestion(const TimeSyncOutcome& outcome) {
    desktop_.tray.AskYesNo(kTimeSyncNoticeTitle, LargeStepQuestionText(outcome),
                           [this](bool yes) { timeSync_.OnLargeStepAnswered(yes); });
}
void Form_Main::托盘图标_参数设置_Click() {
    desktop_.forms.ShowSettingsDialog(*this);
}
void Form_Main::托盘图标_意见反馈_Click() {
    desktop_.hooks.ShowComment(kFeedbackText);
}
void Form_Main::托盘图标_关于_Click() {
    desktop_.forms.ShowAboutBox();
}

void Form_Main::托盘图标_退出程序_Click() {
    voice_.Stop();  // silent at once, not after the sentence
    desktop_.forms.UnloadSettingsDialog();
    desktop_.forms.UnloadAdvertisementQuietly();
    desktop_.forms.UnloadAboutBox();
    trayClockTimer_.SetEnabled(false);
    announceTimer_.SetEnabled(false);
    syncTimer_.SetEnabled(false);
    updateTimer_.SetEnabled(false);
    desktop_.hotkey.Unregister();
    socket_.Close();
    desktop_.process.UnloadMainForm();
}

void Form_Main::SetAnnounceTimerEnabled(bool enabled) {
    if (!enabled) {
        schedule_.Stopped();  // an hour that passes while off is not caught up when switched on
    }
    announceTimer_.SetEnabled(enabled);
}
void Form_Main::SetSyncTimerEnabled(bool enabled) {
    syncTimer_.SetEnabled(enabled);
}
void Form_Main::SetStartMenuChecked(bool checked) {
    SetChecked(TrayMenuEntry::托盘图标_开机启动, checked);
}

void Form_Main::SettingsNotSaved() {
    if (!toldNotSaved_) {
        toldNotSaved_ = true;
        Notify(kProgramName, SettingsNotSavedText(paths_.iniPath));
    }
}

bool Form_Main::MenuChecked(TrayMenuEntry entry) const {
    if (entry == TrayMenuEntry::托盘图标_关闭报时) {
        return announceOffChecked_;
    }
    return entry == TrayMenuEntry::托盘图标_开机启动 && startChecked_;
}

// A balloon vanishes: the same line on standard error stays in a terminal or the journal.
void Form_Main::Notify(const std::string& title, const std::string& text) {
    std::fputs(NoticeLine(clock_.Now(), title, text).c_str(), stderr);
    std::fflush(stderr);  // Windows' C runtime buffers standard error when it is a file
    desktop_.tray.ShowNotification(title, text);
}

void Form_Main::SetChecked(TrayMenuEntry entry, bool checked) {
    if (entry == TrayMenuEntry::托盘图标_关闭报时) {
        announceOffChecked_ = checked;
    } else if (entry == TrayMenuEntry::托盘图标_开机启动) {
        startChecked_ = checked;
    }
    desktop_.tray.SetMenuChecked(entry, checked);
}

void Form_Main::SetToolTipNow() {
    desktop_.tray.SetToolTip(TrayToolTipText(clock_.Now(), locale_, stores_.settings.LunarMode));
}

}  // namespace horalia
