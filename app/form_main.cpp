#include "app/form_main.h"

#include "app/sync_notice.h"
#include "app/tooltip.h"
#include "common/identity.h"
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

std::string NoHolidayDataText(int year, const std::string& holidayFilePath) {
    const std::string y = std::to_string(year);
    // The path last, as above.
    return "没有 " + y +
           " 年的节假日安排，报时日“工作日”暂按周一至周五报时。可在此文件中每行添加一天，例如“" +
           y + "-10-01 休”或“" + y + "-09-26 班”：" + holidayFilePath;
}

void EndIfAlreadyRunning(ProcessPort& process) {
    if (process.MarkerWindowExists(kMainWindowTitle)) {
        process.EndProcessNow();
    }
}

Form_Main::Form_Main(const FormMainServices& services)
    : s_(services),
      voice_(s_.player, s_.ui, s_.paths.soundFolder),
      timeSync_(s_.socket, s_.clockSetter, s_.replyTimer, s_.zoneClock),
      trayClockTimer_(s_.trayClockTimer, s_.clock, 1000),
      announceTimer_(s_.announceTimer, s_.clock, 1000),
      syncTimer_(s_.syncTimer, s_.clock, kSyncTimerIntervalMilliseconds),
      updateTimer_(s_.updateTimer, s_.clock, kUpdateTimerIntervalMs) {
    timeSync_.SetListener(this);
}

void Form_Main::Form_Load() {
    s_.config.SpecifyIni(s_.paths.iniPath);
    LoadSettings(s_.config, s_.startStore, StartCommand(s_.paths.executablePath), s_.settings);
    trayClockTimer_.SetEnabled(true);
    FollowSettings();
    updateTimer_.SetEnabled(true);
    SetToolTipNow();
    s_.process.SetCurrentFolder(s_.paths.appFolder);
}

// Values other than 0 and 1 (a hand-edited file) leave the timers as created: running.
void Form_Main::FollowSettings() {
    SetChecked(TrayMenuEntry::托盘图标_关闭报时, s_.settings.AnnounceOff != 0);
    SetChecked(TrayMenuEntry::托盘图标_开机启动, s_.settings.StartWithWindows != 0);
    SetAnnounceTimerEnabled(ScheduleRuns(s_.settings));
    SetSyncTimerEnabled(s_.settings.AutoSyncOff != 1);
    FollowHotkeySetting();
}

void Form_Main::FollowHotkeySetting() {
    const std::string& wanted = s_.settings.AnnounceHotkey;
    if (heldHotkey_ == wanted) {
        return;
    }
    heldHotkey_ = wanted;
    const std::optional<Hotkey> hotkey = ParseHotkey(wanted);
    if (!hotkey) {
        s_.hotkey.Unregister();
        hotkeyState_ = HotkeyState::kNone;
        return;
    }
    hotkeyState_ = s_.hotkey.Register(*hotkey);
    if (hotkeyState_ == HotkeyState::kTaken) {
        s_.tray.ShowNotification(kProgramName, HotkeyTakenText(wanted));
    }
}

void Form_Main::RefreshSettings() {
    if (s_.config.FileChanged()) {
        LoadSettings(s_.config, s_.startStore, StartCommand(s_.paths.executablePath), s_.settings);
        FollowSettings();
    }
    FollowHotkeySetting();  // the advanced page may have changed it in the record
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
    const Moment now = s_.clock.Now();
    FollowWorkingDays(now);
    const std::optional<Moment> due = schedule_.Tick(now, s_.settings, workingDays_);
    // Asked only when an announcement is due: the desktop's answer may take a round trip.
    if (due && !(s_.settings.DesktopQuietCheck == 1 && s_.desktopQuiet.AsksForQuiet())) {
        Announce(*due);
    }
}

void Form_Main::FollowWorkingDays(const Moment& now) {
    const std::int32_t today = now.year * 10000 + now.month * 100 + now.day;
    if (workingDaysRead_ != today) {
        workingDaysRead_ = today;
        workingDays_ = WorkingDayCalendar();
        const FileContent file =
            s_.files.Read(HolidayFilePath(s_.paths.iniPath), kHolidayFileMaxBytes);
        if (file.status == ReadStatus::kOk) {
            workingDays_.AddFileText(file.bytes);
        }
    }
    if (toldNoHolidayData_ == today) {
        return;
    }
    if (const std::optional<int> year = YearWithoutHolidayData(now, s_.settings, workingDays_)) {
        toldNoHolidayData_ = today;
        s_.tray.ShowNotification(kProgramName,
                                 NoHolidayDataText(*year, HolidayFilePath(s_.paths.iniPath)));
    }
}

void Form_Main::Timer_自动校时_Timer() {
    timeSync_.OnSyncTimerTick();
}

void Form_Main::Timer_自动升级_Timer() {
    s_.hooks.DoUpdate(kUpdateUrl);
    const AdDecision ad =
        DecideAdvertisement(s_.settings.AdMode, s_.settings.AdShownDate, s_.clock.Now());
    if (ad.load) {
        s_.forms.LoadAdvertisement();
    }
    if (ad.dateToRecord) {
        const SettingsRecord before = s_.settings;
        s_.settings.AdShownDate = *ad.dateToRecord;
        if (!SaveSettings(s_.config, before, s_.settings, SettingsPage::kProgram)) {
            SettingsNotSaved();
        }
    }
    updateTimer_.SetEnabled(false);
}

void Form_Main::Announce(const Moment& moment) {
    voice_.Announce(moment, [this] {
        const SettingsRecord& settings = s_.settings;
        return AnnouncementOptions{settings.AnnounceFormat, settings.NaturalReading == 1,
                                   settings.Volume, settings.VoiceFolder};
    });
}

void Form_Main::TrayIcon_托盘图标_MouseClick(std::int16_t button) {
    if (button == 1) {
        Announce(s_.clock.Now());
    } else if (button == 2) {
        s_.tray.PopupMenuAtPointer();
    }
}

void Form_Main::Hotkey_报时热键_Pressed() {
    Announce(s_.clock.Now());
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
    if (!SetStartEntry(s_.startStore, StartCommand(s_.paths.executablePath), on)) {
        StartNotChanged();
        return;
    }
    SetChecked(TrayMenuEntry::托盘图标_开机启动, on);
    s_.settings.StartWithWindows = on ? 1 : 0;
}

void Form_Main::StartNotChanged() {
    s_.tray.ShowNotification(kProgramName, StartNotChangedText(s_.startStore.Location()));
}

void Form_Main::托盘图标_网络校时_Click() {
    timeSync_.RequestTimeSync(SyncTrigger::kMenu);
}

void Form_Main::OnTimeSyncFinished(const TimeSyncOutcome& outcome, SyncTrigger trigger) {
    if (trigger == SyncTrigger::kMenu) {
        s_.tray.ShowNotification(kTimeSyncNoticeTitle,
                                 TimeSyncNoticeText(outcome, kTimeServerHost));
    }
}
void Form_Main::托盘图标_参数设置_Click() {
    s_.forms.ShowSettingsDialog();
}
void Form_Main::托盘图标_意见反馈_Click() {
    s_.hooks.ShowComment(kFeedbackText);
}
void Form_Main::托盘图标_关于_Click() {
    s_.forms.ShowAboutBox();
}

void Form_Main::托盘图标_退出程序_Click() {
    voice_.Stop();  // silent at once, not after the sentence
    s_.forms.UnloadSettingsDialog();
    s_.forms.UnloadAdvertisementQuietly();
    s_.forms.UnloadAboutBox();
    trayClockTimer_.SetEnabled(false);
    announceTimer_.SetEnabled(false);
    syncTimer_.SetEnabled(false);
    updateTimer_.SetEnabled(false);
    s_.hotkey.Unregister();
    s_.socket.Close();
    s_.process.UnloadMainForm();
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
        s_.tray.ShowNotification(kProgramName, SettingsNotSavedText(s_.paths.iniPath));
    }
}

bool Form_Main::MenuChecked(TrayMenuEntry entry) const {
    if (entry == TrayMenuEntry::托盘图标_关闭报时) {
        return announceOffChecked_;
    }
    return entry == TrayMenuEntry::托盘图标_开机启动 && startChecked_;
}

void Form_Main::SetChecked(TrayMenuEntry entry, bool checked) {
    if (entry == TrayMenuEntry::托盘图标_关闭报时) {
        announceOffChecked_ = checked;
    } else if (entry == TrayMenuEntry::托盘图标_开机启动) {
        startChecked_ = checked;
    }
    s_.tray.SetMenuChecked(entry, checked);
}

void Form_Main::SetToolTipNow() {
    s_.tray.SetToolTip(TrayToolTipText(s_.clock.Now(), s_.locale));
}

}  // namespace horalia
