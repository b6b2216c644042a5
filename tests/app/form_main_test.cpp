#include "app/form_main.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "app/sync_notice.h"
#include "app/tooltip.h"
#include "common/identity.h"
#include "fakes/fake_clip_player.h"
#include "fakes/fake_locale.h"
#include "fakes/fake_profile_backend.h"
#include "fakes/fake_small_files.h"
#include "fakes/fake_start_store.h"
#include "fakes/fake_time_sync_ports.h"
#include "fakes/virtual_time.h"
#include "ui/extras/urls.h"
#include "voice/clip_sequence.h"

namespace horalia {
namespace {

using fakes::At;

using Log = std::vector<std::string>;

class FakeTray : public TrayPort {
  public:
    explicit FakeTray(Log& log) : log_(log) {}
    void SetToolTip(const std::string& text) override { toolTips.push_back(text); }
    void SetMenuChecked(TrayMenuEntry entry, bool checked) override { checks[entry] = checked; }
    void PopupMenuAtPointer() override { log_.push_back("popup"); }
    void ShowNotification(const std::string& title, const std::string& text) override {
        notifications.push_back(title + ": " + text);
    }
    void AskYesNo(const std::string& title, const std::string& text,
                  std::function<void(bool)> answered) override {
        questions.push_back(title + ": " + text);
        answer = std::move(answered);
    }

    std::vector<std::string> toolTips;
    std::vector<std::string> notifications;
    std::vector<std::string> questions;
    std::function<void(bool)> answer;
    std::map<TrayMenuEntry, bool> checks;

  private:
    Log& log_;
};

class FakeProcess : public ProcessPort {
  public:
    explicit FakeProcess(Log& log) : log_(log) {}
    bool MarkerWindowExists(const std::string& title) override {
        askedTitle = title;
        return markerExists;
    }
    void EndProcessNow() override { log_.push_back("end"); }
    void SetCurrentFolder(const std::string& folder) override { currentFolder = folder; }
    void UnloadMainForm() override { log_.push_back("unload main form"); }

    bool markerExists = false;
    std::string askedTitle;
    std::string currentFolder;

  private:
    Log& log_;
};

class FakeForms : public FormsPort {
  public:
    explicit FakeForms(Log& log) : log_(log) {}
    void ShowSettingsDialog(MainFormCallbacks&) override { log_.push_back("show settings"); }
    void UnloadSettingsDialog() override { log_.push_back("unload settings"); }
    void ShowAboutBox() override { log_.push_back("show about"); }
    void UnloadAboutBox() override { log_.push_back("unload about"); }
    void LoadAdvertisement() override { log_.push_back("load ad"); }
    void UnloadAdvertisementQuietly() override { log_.push_back("unload ad quietly"); }

  private:
    Log& log_;
};

class FakeHooks : public ExternalHooks {
  public:
    explicit FakeHooks(Log& log) : log_(log) {}
    void DoUpdate(const std::string& url) override { log_.push_back("DoUpdate " + url); }
    void ShowComment(const std::string& text) override { log_.push_back("ShowComment " + text); }

  private:
    Log& log_;
};

class FakeHotkey : public HotkeyPort {
  public:
    HotkeyState Register(const Hotkey& hotkey) override {
        held = answer == HotkeyState::kActive ? FormatHotkey(hotkey) : "";
        registered.push_back(FormatHotkey(hotkey));
        return answer;
    }
    void Unregister() override { held.clear(); }

    HotkeyState answer = HotkeyState::kActive;
    std::string held;
    std::vector<std::string> registered;
};

class FakeQuiet : public QuietSource {
  public:
    bool AsksForQuiet() override {
        ++asked;
        return quiet;
    }
    bool quiet = false;
    int asked = 0;
};

constexpr char kExe[] = "C:\\Tools\\Horalia\\Horalia.exe";
constexpr char kIni[] = "C:\\Tools\\Horalia\\Value.ini";

// Every fake the main form needs, wired to one virtual clock.
class Rig {
  public:
    Rig() {
        for (fakes::FakeTimerPort* port : {&trayPort, &announcePort, &syncPort, &updatePort}) {
            timers.Add(*port);
        }
        trayPort.onFire = [this] { form().Timer_更新托盘显示时间_Fired(); };
        announcePort.onFire = [this] { form().Timer_自动报时_Fired(); };
        syncPort.onFire = [this] { form().Timer_自动校时_Fired(); };
        updatePort.onFire = [this] { form().Timer_自动升级_Fired(); };
    }

    void SetIni(const std::string& key, const std::string& value) {
        backend.values[{kIni, "Horalia", key}] = value;
    }

    Form_Main& form() {
        if (!form_) {
            AppPaths paths = PathsBesideExecutable(kExe, '\\');
            form_ = std::make_unique<Form_Main>(
                FormMainServices{.paths = paths,
                                 .clock = clock,
                                 .locale = locale,
                                 .stores = {config, startStore, settings, files},
                                 .desktop = {tray, process, forms, hooks, hotkey, quiet},
                                 .sound = {player, ui},
                                 .timeServer = {socket, replyTimer, clockSetter, zoneClock},
                                 .timers = {trayPort, announcePort, syncPort, updatePort}});
        }
        return *form_;
    }

    void Load(fakes::VirtualTime at) {
        clock.now = at;
        form().Form_Load();
    }

    // Hours at whose first second the chime played, in order.
    std::vector<int> AnnouncedHours() const { return announcedHours; }

    void RecordAnnouncements() {
        player.onPlay = [this](const std::string& path, std::size_t) {
            if (path.ends_with("提示.wav")) {
                const Moment now = clock.Now();
                EXPECT_EQ(now.minute, 0);
                EXPECT_EQ(now.second, 0);
                announcedHours.push_back(now.hour);
            }
        };
    }

    // "H:M" of every chime at a whole second, in order.
    void RecordChimes() {
        player.onPlay = [this](const std::string& path, std::size_t) {
            const Moment now = clock.Now();
            if (path.ends_with("提示.wav") && now.second == 0) {
                chimes.push_back(std::to_string(now.hour) + ":" + std::to_string(now.minute));
            }
        };
    }

    Log log;
    fakes::FakeClock clock;
    fakes::VirtualTimers timers{clock};
    fakes::FakeTimerPort trayPort, announcePort, syncPort, updatePort;
    fakes::FakeLocale locale;
    fakes::FakeProfileBackend backend;
    读写配置 config{backend};
    fakes::FakeStartStore startStore;
    SettingsRecord settings;
    FakeTray tray{log};
    FakeProcess process{log};
    FakeForms forms{log};
    FakeHooks hooks{log};
    fakes::FakeClipPlayer player;
    fakes::ImmediateUiThread ui;  // the player's answers come back at once
    fakes::FakeTimeSocket socket;
    fakes::FakeClockSetter clockSetter;
    fakes::FakeZoneClock zoneClock;
    fakes::FakeOneShotTimer replyTimer;
    FakeHotkey hotkey;
    FakeQuiet quiet;
    fakes::FakeSmallFiles files;
    std::vector<int> announcedHours;
    std::vector<std::string> chimes;

  private:
    std::unique_ptr<Form_Main> form_;
};

// Every notice shown beside the icon is also written to standard error: checked after each test.
class FormMainTest : public testing::Test, public Rig {
  protected:
    void SetUp() override { testing::internal::CaptureStderr(); }
    void TearDown() override {
        stderrSoFar += testing::internal::GetCapturedStderr();
        for (const std::string& notice : tray.notifications) {
            EXPECT_NE(stderrSoFar.find(notice + "\n"), std::string::npos) << notice;
        }
    }
    // Everything written to standard error so far in this test.
    std::string TakeStderr() {
        stderrSoFar += testing::internal::GetCapturedStderr();
        testing::internal::CaptureStderr();
        return stderrSoFar;
    }
    std::string stderrSoFar;
};

TEST(TrayToolTipText, FourLinesAndTheDateAloneAtMidnight) {
    const fakes::FakeLocale locale;
    EXPECT_EQ(
        TrayToolTipText({2026, 12, 7, 13, 45, 9, 500}, locale),
        "Horalia Ver:3.0.0.0\r\n鼠标右键单击：菜单\r\n鼠标左键单击：报时\r\n2026/12/7 13:45:09");
    EXPECT_EQ(TrayToolTipText({2026, 12, 8, 0, 0, 0, 999}, locale),
              "Horalia Ver:3.0.0.0\r\n鼠标右键单击：菜单\r\n鼠标左键单击：报时\r\n2026/12/8");
    EXPECT_TRUE(TrayToolTipText({2026, 12, 8, 0, 0, 1}, locale).ends_with("2026/12/8 00:00:01"));
    EXPECT_TRUE(TrayToolTipText({2026, 12, 8, 12, 0, 0}, locale).ends_with(" 12:00:00"));
}

TEST(TrayToolTipText, ALunarLineForTheLunarReadings) {
    const fakes::FakeLocale locale;
    const Moment winterSolstice{2026, 12, 22, 13, 45, 9};
    const std::string fourLines = TrayToolTipText(winterSolstice, locale);
    EXPECT_EQ(TrayToolTipText(winterSolstice, locale, 0), fourLines);
    EXPECT_EQ(TrayToolTipText(winterSolstice, locale, 1), fourLines + "\r\n农历冬月十四 冬至");
    EXPECT_EQ(TrayToolTipText(winterSolstice, locale, 2),
              fourLines + "\r\n农历丙午马年 冬月十四 冬至");
    EXPECT_EQ(TrayToolTipText({2101, 1, 1, 8, 0, 0}, locale, 2),
              TrayToolTipText({2101, 1, 1, 8, 0, 0}, locale));
}

TEST(TrayMenu, ElevenEntriesInOrderWithTheirCaptions) {
    std::string captions;
    for (std::size_t i = 0; i < kTrayMenu.size(); ++i) {
        EXPECT_EQ(TrayMenuIndex(kTrayMenu[i].entry), static_cast<int>(i));
        EXPECT_EQ(kTrayMenu[i].separator, std::string(kTrayMenu[i].caption) == "-");
        captions += kTrayMenu[i].caption;
        captions += ' ';
    }
    EXPECT_EQ(captions,
              "关闭报时[&C] 开机启动[&R] - 网络校时[&T] - 参数设置[&S] - 意见反馈[&F] 关于[&A] - "
              "退出程序[&E] ");
    EXPECT_FALSE(kTrayMenu[0].selectable);
}

TEST_F(FormMainTest, EndIfAlreadyRunningEndsOnlyWhenTheMarkerExists) {
    EndIfAlreadyRunning(process);
    EXPECT_EQ(process.askedTitle, "Horalia Ver:3.0.0.0");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(TakeStderr(), "");
    process.markerExists = true;
    EndIfAlreadyRunning(process);
    EXPECT_EQ(log, Log{"end"});
    EXPECT_EQ(TakeStderr(), "horalia: Horalia is already running; this start ends\n");
}

// Another title follows the program's name; a notice of two lines is still one line.
TEST(NoticeLine, OneStampedLinePerNotice) {
    const Moment at{2026, 12, 7, 9, 0, 5, 999};
    EXPECT_EQ(NoticeLine(at, "网络校时", "第一句。\r\n第二句。\n"),
              "2026-12-07 09:00:05 Horalia: 网络校时: 第一句。  第二句。 \n");
}

TEST_F(FormMainTest, LoadReadsTheSettingsSetsToolTipAndFolderAndStartsNothing) {
    startStore.entry = StartCommand(kExe);
    SetIni("格式设置", "2");
    Load(At(2026, 12, 7, 9, 0, 0, 400));
    EXPECT_EQ(settings.AnnounceFormat, 2);
    EXPECT_EQ(settings.StartWithWindows, 1);
    EXPECT_TRUE(tray.checks[TrayMenuEntry::托盘图标_开机启动]);
    EXPECT_TRUE(form().MenuChecked(TrayMenuEntry::托盘图标_开机启动));
    ASSERT_EQ(tray.toolTips.size(), 1u);
    EXPECT_TRUE(tray.toolTips[0].ends_with("2026/12/7 09:00:00"));
    EXPECT_EQ(process.currentFolder, "C:\\Tools\\Horalia");
    EXPECT_TRUE(player.paths.empty());
    EXPECT_TRUE(socket.connections.empty());
    EXPECT_TRUE(log.empty());
}

TEST_F(FormMainTest, AnnounceOffAndAutoSyncOffSetCheckMarkAndTimers) {
    struct Case {
        const char* announceOff;
        const char* autoSyncOff;
        bool checked, announceTimer, syncTimer;
    };
    for (const Case& c : {Case{"0", "0", false, true, true}, Case{"1", "1", true, false, false},
                          // Outside the range: the default, for the mark and the timers alike.
                          Case{"2", "2", false, true, true}, Case{"-1", "7", false, true, true}}) {
        Rig fresh;
        fresh.SetIni("关闭报时", c.announceOff);
        fresh.SetIni("自动校时", c.autoSyncOff);
        fresh.Load(At(2026, 12, 7, 9, 0, 0));
        SCOPED_TRACE(std::string(c.announceOff) + "/" + c.autoSyncOff);
        EXPECT_EQ(fresh.tray.checks[TrayMenuEntry::托盘图标_关闭报时], c.checked);
        EXPECT_EQ(fresh.form().AnnounceTimer().Enabled(), c.announceTimer);
        EXPECT_EQ(fresh.announcePort.pending, c.announceTimer);
        EXPECT_EQ(fresh.form().SyncTimer().Enabled(), c.syncTimer);
        EXPECT_TRUE(fresh.form().TrayClockTimer().Enabled());
    }
}

TEST_F(FormMainTest, ADayOfTicksAnnouncesEachDueHourOnce) {
    struct Case {
        const char* frequency;
        std::vector<int> hours;
    };
    std::vector<int> everyHour;
    for (int h = 0; h < 24; ++h) {
        everyHour.push_back(h);
    }
    const Case cases[] = {
        {"0", everyHour},
        {"1", {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22}},
        {"2", {0, 6, 12, 18}},
        {"9", everyHour},  // a hand-edited frequency counts as every hour
    };
    for (const Case& c : cases) {
        Rig fresh;
        fresh.SetIni("报时设置", c.frequency);
        fresh.RecordAnnouncements();
        fresh.Load(At(2026, 12, 6, 23, 59, 58, 300));
        fresh.timers.RunUntil(At(2026, 12, 7, 23, 59, 59, 900));
        std::vector<int> expected = c.hours;
        EXPECT_EQ(fresh.AnnouncedHours(), expected) << "frequency " << c.frequency;
    }
}

TEST_F(FormMainTest, NoAnnouncementWhileTheScheduleIsOff) {
    SetIni("关闭报时", "1");
    RecordAnnouncements();
    Load(At(2026, 12, 7, 9, 30, 0));
    timers.RunUntil(At(2026, 12, 7, 12, 0, 30));
    EXPECT_TRUE(AnnouncedHours().empty());
    form().SetAnnounceTimerEnabled(true);
    timers.RunUntil(At(2026, 12, 7, 13, 0, 30));
    EXPECT_EQ(AnnouncedHours(), std::vector<int>{13});
}

TEST_F(FormMainTest, EverySecondGetsExactlyOneTickWhateverTheTimerDrift) {
    struct Drift {
        const char* name;
        std::function<std::int32_t(std::size_t)> drift;
    };
    const Drift drifts[] = {
        {"late", [](std::size_t) { return 37; }},
        {"very late", [](std::size_t) { return 700; }},
        {"early", [](std::size_t) { return -40; }},
        {"jitter", [](std::size_t n) { return static_cast<std::int32_t>((n * 7919) % 90) - 45; }},
    };
    for (const Drift& d : drifts) {
        Rig fresh;
        fresh.trayPort.drift = d.drift;
        fresh.announcePort.drift = d.drift;
        fresh.RecordAnnouncements();
        fresh.Load(At(2026, 12, 7, 9, 58, 0, 10));
        fresh.timers.RunUntil(At(2026, 12, 7, 10, 2, 0, 0));
        // The seconds strictly inside the run; its two edges depend on where the drift lands.
        std::map<std::string, int> ticksPerSecond;
        for (std::size_t i = 1; i < fresh.tray.toolTips.size(); ++i) {
            const std::string second =
                fresh.tray.toolTips[i].substr(fresh.tray.toolTips[i].size() - 8);
            if (second >= "09:58:01" && second <= "10:01:59") {
                ++ticksPerSecond[second];
            }
        }
        SCOPED_TRACE(d.name);
        EXPECT_EQ(ticksPerSecond.size(), 4u * 60u - 1u);
        for (const auto& [second, count] : ticksPerSecond) {
            EXPECT_EQ(count, 1) << second;
        }
        EXPECT_EQ(fresh.AnnouncedHours(), std::vector<int>{10});
    }
}

TEST_F(FormMainTest, ALateTickCatchesTheHourButNothingComesLateAfterSleepOrAClockSet) {
    struct Case {
        const char* name;
        std::int32_t lateMs;  // how late the announcement timer's first firing comes
        int jumpToMinute;     // -1: no jump; else the clock is set to 10:mm:00 at 09:59:40
        std::vector<std::string> clips;  // the whole of what played up to 10:00:30
    };
    const std::vector<std::string> tenSharp = {"提示", "现在时间", "上午", "十", "点", "整"};
    const Case cases[] = {
        {"on time", 0, -1, tenSharp},
        {"a busy thread, 2.5 s late", 2500, -1, tenSharp},
        {"asleep over the hour", 20 * 60 * 1000, -1, {}},
        {"the clock set forward over the hour", 0, 0, {}},
    };
    for (const Case& c : cases) {
        Rig fresh;
        fresh.announcePort.drift = [&c](std::size_t n) { return n == 21 ? c.lateMs : 0; };
        fresh.Load(At(2026, 12, 7, 9, 59, 39, 500));  // arming 21 aims at 10:00:00.025
        fresh.timers.RunUntil(At(2026, 12, 7, 9, 59, 40, 100));
        if (c.jumpToMinute >= 0) {
            fresh.clock.now = At(2026, 12, 7, 10, c.jumpToMinute, 10);
        }
        fresh.timers.RunUntil(At(2026, 12, 7, 10, 20, 30));
        const std::string folder = "C:\\Tools\\Horalia\\Sound\\";
        std::vector<std::string> clips;
        for (const std::string& path : fresh.player.Paths()) {
            clips.push_back(path.substr(folder.size(), path.size() - folder.size() - 4));
        }
        EXPECT_EQ(clips, c.clips) << c.name;
        // The next hour comes as usual.
        fresh.RecordAnnouncements();
        fresh.timers.RunUntil(At(2026, 12, 7, 11, 0, 30));
        EXPECT_EQ(fresh.AnnouncedHours(), std::vector<int>{11}) << c.name;
    }
}

// Value.ini edited by hand while the program runs: the next tick reads it, the schedule follows.
TEST_F(FormMainTest, AHandEditOfValueIniCountsFromTheNextTick) {
    RecordAnnouncements();
    Load(At(2026, 12, 7, 1, 59, 50));
    EXPECT_EQ(backend.sectionReads, 1);  // the whole file at once
    timers.RunUntil(At(2026, 12, 7, 2, 0, 30));
    EXPECT_EQ(backend.sectionReads, 1);              // and not again while it stays as it is
    backend.Edit(kIni, "Horalia", "报时设置", "1");  // every second hour
    backend.Edit(kIni, "Horalia", "关闭报时", "1");
    timers.RunUntil(At(2026, 12, 7, 2, 0, 32));
    EXPECT_TRUE(tray.checks[TrayMenuEntry::托盘图标_关闭报时]);
    backend.Edit(kIni, "Horalia", "关闭报时", "0");
    timers.RunUntil(At(2026, 12, 7, 9, 0, 30));
    EXPECT_EQ(AnnouncedHours(), (std::vector<int>{2, 4, 6, 8}));
    EXPECT_EQ(backend.fileWrites, 0);
}

// Switched off just before the hour and on again just after it: the hour is not caught up.
TEST_F(FormMainTest, AnHourThatPassedWhileAnnouncementsWereOffIsNotCaughtUp) {
    RecordAnnouncements();
    Load(At(2026, 12, 7, 9, 59, 50));
    timers.RunUntil(At(2026, 12, 7, 9, 59, 59, 500));
    form().SetAnnounceTimerEnabled(false);
    timers.RunUntil(At(2026, 12, 7, 10, 0, 2));
    form().SetAnnounceTimerEnabled(true);
    timers.RunUntil(At(2026, 12, 7, 10, 0, 30));
    EXPECT_EQ(AnnouncedHours(), std::vector<int>{});
}

TEST_F(FormMainTest, HalfHoursQuartersAndQuietHoursOverADay) {
    const struct {
        const char* halfHours;
        std::vector<std::string> chimes;
    } cases[] = {
        // 06:00 is quiet, 06:30 is not: the quiet hours end before it.
        {"1", {"6:30", "12:0", "12:30", "18:0", "18:30"}},
        {"2",
         {"6:30", "6:45", "12:0", "12:15", "12:30", "12:45", "18:0", "18:15", "18:30", "18:45"}},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.SetIni("报时设置", "2");
        rig.SetIni("半点报时", c.halfHours);
        rig.SetIni("免打扰", "23:00-06:30");
        rig.RecordChimes();
        rig.Load(At(2026, 12, 6, 23, 59, 58, 300));
        rig.timers.RunUntil(At(2026, 12, 7, 23, 59, 59, 900));
        EXPECT_EQ(rig.chimes, c.chimes) << "半点报时=" << c.halfHours;
        rig.clock.now = At(2026, 12, 8, 2, 0, 0);
        rig.player.onPlay = nullptr;
        const std::size_t before = rig.player.paths.size();
        rig.form().TrayIcon_托盘图标_MouseClick(1);  // a click speaks whatever the quiet hours
        ASSERT_GT(rig.player.paths.size(), before);
        EXPECT_TRUE(rig.player.paths[before].ends_with("提示.wav"));
    }
}

// Every 20 minutes outside three quiet periods, as Value.ini says, over half a day of ticks.
TEST_F(FormMainTest, AnIntervalAndSeveralQuietPeriodsOverHalfADay) {
    RecordChimes();
    SetIni("报时间隔", "20");
    SetIni("半点报时", "2");  // replaced by the interval
    SetIni("免打扰", "00:00-07:00, 12:00-13:30,22:00-00:00");
    Load(At(2026, 12, 7, 11, 30, 0));
    timers.RunUntil(At(2026, 12, 7, 22, 30, 0));
    std::vector<std::string> expected = {"11:40"};
    for (int minute = 13 * 60 + 40; minute < 22 * 60; minute += 20) {
        expected.push_back(std::to_string(minute / 60) + ":" + std::to_string(minute % 60));
    }
    EXPECT_EQ(chimes, expected);
}

// 报时日 over the holidays of 2026 and a person's own day off: the hour just after midnight is
// announced on a working day only; a click speaks on any day.
TEST_F(FormMainTest, WorkingDaysFollowTheNoticesAndTheHolidayFile) {
    const struct {
        const char* days;
        int month, day;  // 2026
        bool announced;
    } cases[] = {
        {"工作日", 9, 20, true},   // a Sunday worked before National Day
        {"工作日", 9, 22, false},  // 节假日.txt takes this Tuesday off
        {"工作日", 9, 25, false},  // Mid-Autumn, a Friday
        {"工作日", 10, 10, true},  // a Saturday worked
        {"6,7", 10, 10, true},    {"1-5", 10, 10, false},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.files.files["C:\\Tools\\Horalia\\节假日.txt"] = "2026-09-22 休 年假\r\n";
        rig.RecordAnnouncements();
        rig.SetIni("报时日", c.days);
        rig.Load(At(2026, c.month, c.day, 0, 0, 0) - std::chrono::seconds(10));
        rig.timers.RunUntil(At(2026, c.month, c.day, 0, 0, 30));
        EXPECT_EQ(rig.AnnouncedHours(), c.announced ? std::vector<int>{0} : std::vector<int>{})
            << c.days << " 2026-" << c.month << "-" << c.day;
        EXPECT_TRUE(rig.tray.notifications.empty());
        rig.player.onPlay = nullptr;
        const std::size_t before = rig.player.paths.size();
        rig.form().TrayIcon_托盘图标_MouseClick(1);
        EXPECT_GT(rig.player.paths.size(), before);
    }
}

// No notice covers 2027 yet: 工作日 counts Monday to Friday there, and the person is told once a
// day until 节假日.txt names days of that year.
TEST_F(FormMainTest, AYearWithoutHolidayDataIsToldOnceADay) {
    const std::string file = "C:\\Tools\\Horalia\\节假日.txt";
    RecordAnnouncements();
    SetIni("报时日", "工作日");
    Load(At(2026, 12, 31, 23, 59, 50));
    timers.RunUntil(At(2027, 1, 1, 0, 1, 0));
    EXPECT_EQ(AnnouncedHours(), std::vector<int>{0});  // 元旦, unknown, counts as a Friday
    ASSERT_EQ(tray.notifications.size(), 1u);
    EXPECT_EQ(tray.notifications[0],
              std::string(kProgramName) + ": " + NoHolidayDataText(2027, file));
    EXPECT_TRUE(tray.notifications[0].ends_with(file));
    timers.RunUntil(At(2027, 1, 1, 0, 59, 0));
    EXPECT_EQ(tray.notifications.size(), 1u);

    clock.now = At(2027, 1, 2, 8, 0, 0);  // the next day (the machine slept)
    timers.RunUntil(At(2027, 1, 2, 8, 0, 10));
    EXPECT_EQ(tray.notifications.size(), 2u);

    files.files[file] = "2027-01-04 休\n";  // the person adds a day of 2027: read the next day
    clock.now = At(2027, 1, 3, 23, 59, 50);
    timers.RunUntil(At(2027, 1, 4, 1, 0, 30));
    EXPECT_EQ(tray.notifications.size(), 2u);
    EXPECT_EQ(AnnouncedHours(), std::vector<int>{0});  // Monday 01-04 is off now
}

// The desktop is asked only with 勿扰检测=1, and only when an announcement is due; a click and
// the hotkey always speak.
TEST_F(FormMainTest, TheDesktopsQuietSkipsScheduledAnnouncementsOnly) {
    const struct {
        const char* check;
        bool desktopQuiet;
        std::vector<int> hours;
        int asked;
    } cases[] = {{"0", true, {10, 11}, 0}, {"1", true, {}, 2}, {"1", false, {10, 11}, 2}};
    for (const auto& c : cases) {
        Rig rig;
        rig.SetIni("勿扰检测", c.check);
        rig.quiet.quiet = c.desktopQuiet;
        rig.RecordAnnouncements();
        rig.Load(At(2026, 12, 7, 9, 59, 50));
        rig.timers.RunUntil(At(2026, 12, 7, 11, 0, 30));
        EXPECT_EQ(rig.AnnouncedHours(), c.hours) << "勿扰检测=" << c.check;
        EXPECT_EQ(rig.quiet.asked, c.asked);
        rig.player.onPlay = nullptr;
        rig.player.paths.clear();
        rig.form().TrayIcon_托盘图标_MouseClick(1);
        rig.form().Hotkey_报时热键_Pressed();
        EXPECT_EQ(std::count_if(rig.player.paths.begin(), rig.player.paths.end(),
                                [](const std::string& path) { return path.ends_with("提示.wav"); }),
                  2);
    }
}

TEST_F(FormMainTest, TheHotkeyFollowsTheSettingAndATakenOneIsToldOnce) {
    Load(At(2026, 12, 7, 13, 45, 0));
    EXPECT_EQ(hotkey.held, "Ctrl+Alt+Shift+T");  // the default, without a Value.ini
    EXPECT_EQ(form().AnnounceHotkeyState(), HotkeyState::kActive);
    form().Hotkey_报时热键_Pressed();
    EXPECT_EQ(player.paths.size(), 9u);  // 提示 现在时间 下午 一 点 四 十 五 分

    hotkey.answer = HotkeyState::kTaken;
    backend.Edit(kIni, "Horalia", "报时热键", "alt + win + f9");
    timers.RunUntil(At(2026, 12, 7, 13, 45, 3));
    EXPECT_EQ(hotkey.registered, (std::vector<std::string>{"Ctrl+Alt+Shift+T", "Alt+Win+F9"}));
    EXPECT_EQ(form().AnnounceHotkeyState(), HotkeyState::kTaken);
    ASSERT_EQ(tray.notifications.size(), 1u);  // not again at the next ticks
    EXPECT_EQ(tray.notifications[0], "Horalia: " + HotkeyTakenText("Alt+Win+F9"));

    backend.Edit(kIni, "Horalia", "报时热键", "");  // switched off
    timers.RunUntil(At(2026, 12, 7, 13, 45, 5));
    EXPECT_EQ(form().AnnounceHotkeyState(), HotkeyState::kNone);
    EXPECT_EQ(hotkey.registered.size(), 2u);
    EXPECT_EQ(tray.notifications.size(), 1u);
}

// 农历 reaches the words after the weekday and the tooltip; absent, both are as they always were.
TEST_F(FormMainTest, TheLunarSettingIsSpokenAndShown) {
    const Moment winterSolstice{2026, 12, 22, 13, 45, 9};
    for (const int lunar : {0, 2}) {
        Rig fresh;
        fresh.SetIni("格式设置", "1");
        fresh.SetIni("农历", lunar == 0 ? "" : "2");
        fresh.Load(At(2026, 12, 22, 13, 45, 9));
        fresh.form().TrayIcon_托盘图标_MouseClick(1);
        std::vector<std::string> clips;
        for (const std::string& text : AnnouncementClipTexts(winterSolstice, 1, false, lunar)) {
            clips.push_back("C:\\Tools\\Horalia\\Sound\\" + text + ".wav");
        }
        EXPECT_EQ(fresh.player.Paths(), clips);
        EXPECT_EQ(clips.back().ends_with("冬至.wav"), lunar == 2);
        EXPECT_EQ(fresh.tray.toolTips.back(), TrayToolTipText(winterSolstice, locale, lunar));
    }
}

// 校时服务器 names the servers from the load on and after an edit, which an exchange under way does
// not follow; a text that is no list of servers asks the built-in one.
TEST_F(FormMainTest, TheTimeServersFollowTheSetting) {
    SetIni("校时服务器", "ntp://ntp.ntsc.ac.cn, [::1]:1313");
    Load(At(2026, 12, 7, 9, 0, 0, 500));
    form().MenuChosen(TrayMenuEntry::托盘图标_网络校时);
    form().Winsock_时间同步().OnConnectFailed();
    backend.Edit(kIni, "Horalia", "校时服务器", "http://time.example");
    timers.RunUntil(At(2026, 12, 7, 9, 0, 1, 600));
    form().Winsock_时间同步().OnConnectFailed();
    form().MenuChosen(TrayMenuEntry::托盘图标_网络校时);
    ASSERT_EQ(socket.connections.size(), 3u);
    EXPECT_EQ(socket.connections[0].host, "ntp.ntsc.ac.cn");
    EXPECT_EQ(socket.connections[0].transport, Transport::kDatagram);
    EXPECT_EQ(socket.connections[1].host, "::1");
    EXPECT_EQ(socket.connections[2].host, ConfiguredTimeServer().host);
}

TEST_F(FormMainTest, SynchronisesOnThe3601stTickOnly) {
    Load(At(2026, 12, 7, 9, 0, 0, 500));
    timers.RunUntil(At(2026, 12, 7, 10, 0, 0, 900));  // ticks 1 .. 3600
    EXPECT_EQ(form().Winsock_时间同步().SyncTickCount(), 3600);
    EXPECT_TRUE(socket.connections.empty());
    timers.RunUntil(At(2026, 12, 7, 10, 0, 1, 900));
    ASSERT_EQ(socket.connections.size(), 1u);
    EXPECT_EQ(socket.connections[0].port, 13);
    EXPECT_EQ(form().Winsock_时间同步().SyncTickCount(), 0);
}

TEST_F(FormMainTest, SyncTimerOffKeepsTheCountAndRequestsNothing) {
    SetIni("自动校时", "1");
    Load(At(2026, 12, 7, 9, 0, 0, 500));
    timers.RunUntil(At(2026, 12, 7, 11, 0, 0));
    EXPECT_TRUE(socket.connections.empty());
    EXPECT_EQ(form().Winsock_时间同步().SyncTickCount(), 0);
}

TEST_F(FormMainTest, UpdateHookThenAdvertisementDecisionOnceTwoSecondsAfterLoad) {
    struct Case {
        const char* adMode;
        const char* shownDate;
        Log expected;
        const char* writtenDate;  // nullptr: 广告日期 left alone
    };
    const std::string update = std::string("DoUpdate ") + kUpdateUrl;
    const Case cases[] = {
        {"0", "2026|12|07", {update, "load ad"}, "2026|12|07"},
        {"1", "2026|12|06", {update, "load ad"}, "2026|12|07"},
        {"1", nullptr, {update, "load ad"}, "2026|12|07"},
        {"1", "2026|12|07", {update}, "2026|12|07"},
        {"2", "", {update}, ""},
    };
    for (const Case& c : cases) {
        Rig fresh;
        fresh.SetIni("广告设置", c.adMode);
        if (c.shownDate != nullptr) {
            fresh.SetIni("广告日期", c.shownDate);
        }
        fresh.Load(At(2026, 12, 7, 23, 59, 50));
        fresh.timers.RunUntil(At(2026, 12, 7, 23, 59, 51, 999));
        EXPECT_TRUE(fresh.log.empty());
        fresh.timers.RunUntil(At(2026, 12, 8, 0, 0, 30));  // past midnight: still once
        SCOPED_TRACE(std::string("AdMode ") + c.adMode);
        EXPECT_EQ(fresh.log, c.expected);
        const auto written = fresh.backend.values.find({kIni, "Horalia", "广告日期"});
        const std::string stored = written == fresh.backend.values.end() ? "" : written->second;
        EXPECT_EQ(stored, c.writtenDate != nullptr ? c.writtenDate : "");
        EXPECT_FALSE(fresh.form().UpdateTimer().Enabled());
        EXPECT_TRUE(fresh.tray.notifications.empty());
    }
}

TEST_F(FormMainTest, AnUnwritableValueIniIsToldOncePerRunNamingTheFile) {
    backend.refuseWrites = true;
    Load(At(2026, 12, 7, 9, 0, 0));
    timers.RunUntil(At(2026, 12, 7, 9, 0, 5));  // the advertisement date is not written
    form().SettingsNotSaved();                  // nor, later, the dialog's values
    EXPECT_EQ(tray.notifications, Log{std::string("Horalia: ") + SettingsNotSavedText(kIni)});
    EXPECT_NE(SettingsNotSavedText(kIni).find(kIni), std::string::npos);
    EXPECT_EQ(TakeStderr(), "2026-12-07 09:00:05 Horalia: " + SettingsNotSavedText(kIni) + "\n");
}

TEST_F(FormMainTest, TrayClicksByButton) {
    Load(At(2026, 12, 7, 13, 45, 0));
    form().TrayIcon_托盘图标_MouseClick(3);
    form().TrayIcon_托盘图标_MouseClick(0);
    EXPECT_TRUE(player.paths.empty());
    EXPECT_TRUE(log.empty());
    form().TrayIcon_托盘图标_MouseClick(2);
    EXPECT_EQ(log, Log{"popup"});
    form().TrayIcon_托盘图标_MouseClick(1);
    ASSERT_FALSE(player.paths.empty());
    EXPECT_EQ(player.paths.front(), "C:\\Tools\\Horalia\\Sound\\提示.wav");
    EXPECT_EQ(player.paths.back(), "C:\\Tools\\Horalia\\Sound\\分.wav");
}

TEST_F(FormMainTest, ALeftClickDuringAnAnnouncementIsDropped) {
    Load(At(2026, 12, 7, 13, 45, 0));
    player.onPlay = [this](const std::string&, std::size_t index) {
        if (index == 0) {
            form().TrayIcon_托盘图标_MouseClick(1);  // while the chime sounds
        }
    };
    form().TrayIcon_托盘图标_MouseClick(1);
    EXPECT_EQ(player.paths.size(), 9u);  // 提示 现在时间 下午 一 点 四 十 五 分, once
}

TEST_F(FormMainTest, StartEntrySwitchesFromTheTray) {
    Load(At(2026, 12, 7, 9, 0, 0));
    form().MenuChosen(TrayMenuEntry::托盘图标_开机启动);
    EXPECT_EQ(startStore.entry, StartCommand(kExe));
    EXPECT_TRUE(tray.checks[TrayMenuEntry::托盘图标_开机启动]);
    EXPECT_EQ(settings.StartWithWindows, 1);
    form().MenuChosen(TrayMenuEntry::托盘图标_开机启动);
    EXPECT_FALSE(startStore.entry);
    EXPECT_FALSE(tray.checks[TrayMenuEntry::托盘图标_开机启动]);
    EXPECT_EQ(settings.StartWithWindows, 0);

    // A refused write (a home folder that is not writable): the tick stays, and the person is
    // told what could not be written.
    startStore.writable = false;
    form().MenuChosen(TrayMenuEntry::托盘图标_开机启动);
    EXPECT_FALSE(tray.checks[TrayMenuEntry::托盘图标_开机启动]);
    EXPECT_EQ(settings.StartWithWindows, 0);
    EXPECT_EQ(tray.notifications,
              std::vector<std::string>{"Horalia: " + StartNotChangedText(startStore.Location())});

    // A store that will not change the entry for this person says why instead.
    startStore.refusal = "开机启动没有更改";
    form().MenuChosen(TrayMenuEntry::托盘图标_开机启动);
    EXPECT_EQ(tray.notifications.back(), "Horalia: 开机启动没有更改");
}

TEST_F(FormMainTest, MenuEntriesHandOver) {
    Load(At(2026, 12, 7, 9, 0, 0));
    form().MenuChosen(TrayMenuEntry::托盘图标_关闭报时);
    form().MenuChosen(TrayMenuEntry::托盘图标_分隔符1);
    EXPECT_TRUE(log.empty());
    form().MenuChosen(TrayMenuEntry::托盘图标_网络校时);
    form().MenuChosen(TrayMenuEntry::托盘图标_网络校时);
    EXPECT_EQ(socket.connections.size(), 1u);
    form().MenuChosen(TrayMenuEntry::托盘图标_参数设置);
    form().MenuChosen(TrayMenuEntry::托盘图标_意见反馈);
    form().MenuChosen(TrayMenuEntry::托盘图标_意见反馈);
    form().MenuChosen(TrayMenuEntry::托盘图标_关于);
    EXPECT_EQ(log, (Log{"show settings", "ShowComment Horalia 3.0.0.0",
                        "ShowComment Horalia 3.0.0.0", "show about"}));
}

TEST(TimeSyncNoticeText, TellsWhatHappenedAndByHowMuchTheClockWasOff) {
    using Kind = TimeSyncOutcome::Kind;
    const std::pair<TimeSyncOutcome, const char*> cases[] = {
        {{Kind::kClockSet, 3400}, "时钟已校准。校准前本机时钟比服务器慢3秒。"},
        {{Kind::kClockSet, -499}, "时钟已校准。校准前本机时钟与服务器相差不到1秒。"},
        {{Kind::kClockSet, -(86400 + 3600 + 120 + 5) * 1000LL},
         "时钟已校准。校准前本机时钟比服务器快1天1小时2分5秒。"},
        {{Kind::kClockSet, 3600 * 1000}, "时钟已校准。校准前本机时钟比服务器慢1小时。"},
        {{Kind::kLeftToSystem, 1500},
         "系统已自动同步时间（NTP），时钟未改动。本机时钟比服务器慢2秒。"},
        {{Kind::kNotAllowed, -60000},
         "没有修改系统时间的权限，时钟未改动。本机时钟比服务器快1分。"},
        {{Kind::kClockRefused, 0}, "系统拒绝了新的时间，时钟未改动。"},
        {{Kind::kUnreachable, 0}, "无法连接时间服务器 time.nist.gov，时钟未改动。"},
        {{Kind::kNoAnswer, 0}, "时间服务器 time.nist.gov 没有发来时间，时钟未改动。"},
        {{Kind::kNotUnderstood, 0}, "无法识别时间服务器 time.nist.gov 的回答，时钟未改动。"},
        {{Kind::kUnhealthy, 0}, "时间服务器 time.nist.gov 报告自身时间不可靠，时钟未改动。"},
        {{Kind::kRefused, 0}, "时间服务器 time.nist.gov 拒绝回答，时钟未改动。"},
    };
    for (const auto& [outcome, text] : cases) {
        EXPECT_EQ(TimeSyncNoticeText(outcome, "time.nist.gov"), text);
    }
}

// The menu entry always ends in a balloon; the hourly synchronisation never shows one.
TEST_F(FormMainTest, NetworkTimeFromTheMenuSaysWhatHappened) {
    Load(At(2026, 12, 7, 9, 0, 0, 500));
    zoneClock.now = fakes::UtcAt(2026, 12, 7, 9, 7, 0, 500);
    form().MenuChosen(TrayMenuEntry::托盘图标_网络校时);
    ASSERT_EQ(socket.connections.size(), 1u);
    EXPECT_EQ(socket.connections[0].host, kTimeServerHost);
    socket.waiting = "\n61381 26-12-07 09:07:02 00 0 0 0.0 UTC(NIST) *\n";
    form().Winsock_时间同步().OnDataArrival(50);
    form().MenuChosen(TrayMenuEntry::托盘图标_网络校时);
    form().Winsock_时间同步().OnConnectFailed();
    EXPECT_EQ(tray.notifications,
              (std::vector<std::string>{"网络校时: 时钟已校准。校准前本机时钟比服务器慢2秒。",
                                        "网络校时: 无法连接时间服务器 " +
                                            std::string(kTimeServerHost) + "，时钟未改动。"}));

    tray.notifications.clear();
    timers.RunUntil(At(2026, 12, 7, 10, 0, 2));
    ASSERT_EQ(socket.connections.size(), 3u);
    form().Winsock_时间同步().OnConnectFailed();
    EXPECT_TRUE(tray.notifications.empty());
}

// A reply an hour away: the hourly synchronisation tells once and leaves the clock, 网络校时 asks
// first; a year outside 2020..2100 is only reported.
TEST_F(FormMainTest, LargeOffsetsAreAskedOrToldAndUntrustedYearsReported) {
    Load(At(2026, 12, 7, 9, 0, 0, 500));
    zoneClock.now = fakes::UtcAt(2026, 12, 7, 8, 7, 2, 500);
    const auto reply = [&](const std::string& line) {
        socket.waiting = line;
        form().Winsock_时间同步().OnDataArrival(50);
    };
    const std::string nist = "\n61381 26-12-07 09:07:02 00 0 0 0.0 UTC(NIST) *\n";
    const std::string times = "服务器时间 2026-12-07 09:07:02，本机时间 2026-12-07 08:07:02。";

    for (int hour = 0; hour < 2; ++hour) {
        timers.RunUntil(At(2026, 12, 7, 10 + hour, 0, 2 + hour));
        reply(nist);
    }
    EXPECT_TRUE(clockSetter.calls.empty());
    EXPECT_EQ(tray.notifications,
              std::vector<std::string>{"网络校时: 自动校时只改正1000秒以内的偏差，时钟未改动。" +
                                       times + "要改正时钟，请在菜单中选择“网络校时”。"});

    tray.notifications.clear();
    form().MenuChosen(TrayMenuEntry::托盘图标_网络校时);
    reply(nist);
    EXPECT_EQ(tray.questions,
              std::vector<std::string>{
                  "网络校时: 服务器时间：2026-12-07 09:07:02\n"
                  "本机时间：2026-12-07 08:07:02\n"
                  "本机时钟比服务器慢1小时，超过1000秒。要把本机时钟改为服务器时间吗？"});
    EXPECT_TRUE(clockSetter.calls.empty());
    tray.answer(true);
    EXPECT_EQ(clockSetter.calls.size(), 1u);
    EXPECT_EQ(tray.notifications,
              std::vector<std::string>{"网络校时: 时钟已校准。校准前本机时钟比服务器慢1小时。"});

    form().MenuChosen(TrayMenuEntry::托盘图标_网络校时);
    reply(nist);
    tray.answer(false);
    EXPECT_EQ(clockSetter.calls.size(), 1u);
    EXPECT_EQ(tray.notifications.size(), 1u);  // the person said no: nothing more to say

    tray.notifications.clear();
    form().MenuChosen(TrayMenuEntry::托盘图标_网络校时);
    reply("\n36909 59-12-07 09:07:02 00 0 0 0.0 UTC(NIST) *\n");
    EXPECT_EQ(tray.notifications,
              std::vector<std::string>{"网络校时: 时间服务器 " + std::string(kTimeServerHost) +
                                       " 发来的时间 1959-12-07 09:07:02 不在2020年至2100年之间，"
                                       "不可信，时钟未改动。"});
    EXPECT_EQ(clockSetter.calls.size(), 1u);
}

TEST_F(FormMainTest, ExitClosesTheWindowsInOrderAndStopsEverything) {
    Load(At(2026, 12, 7, 9, 0, 0));
    form().MenuChosen(TrayMenuEntry::托盘图标_网络校时);
    form().MenuChosen(TrayMenuEntry::托盘图标_退出程序);
    EXPECT_EQ(log,
              (Log{"unload settings", "unload ad quietly", "unload about", "unload main form"}));
    EXPECT_TRUE(socket.closed);
    for (const fakes::FakeTimerPort* port : {&trayPort, &announcePort, &syncPort, &updatePort}) {
        EXPECT_FALSE(port->pending);
    }
    EXPECT_TRUE(backend.values.empty());  // nothing is saved at exit
}

}  // namespace
}  // namespace horalia
