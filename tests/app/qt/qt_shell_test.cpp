// The Qt ports of the tray program on the offscreen platform.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QtTest/QTest>
#include <cstdio>
#include <filesystem>

#include "app/form_main.h"
#include "app/qt/desktop_hotkey.h"
#include "app/qt/instance_lock.h"
#include "app/qt/qt_form_timer.h"
#include "app/qt/qt_test_application.h"
#include "app/qt/qt_tray.h"
#include "fakes/fake_clip_player.h"
#include "fakes/fake_locale.h"
#include "fakes/fake_profile_backend.h"
#include "fakes/fake_small_files.h"
#include "fakes/fake_start_store.h"
#include "fakes/fake_time_sync_ports.h"
#include "fakes/no_forms.h"
#include "fakes/virtual_time.h"

namespace horalia::qt {
namespace {

constexpr int kWaitMs = 20000;

// One lock per user and display, found alike by every start whatever its environment.
TEST(InstanceLockPath, OnePerUserAndDisplayInTmp) {
    const struct {
        const char* display;
        const char* wayland;
        const char* expected;
    } cases[] = {
        {":0", nullptr, "/tmp/Horalia Ver:3.0.0.0-1000-:0.lock"},
        {":0.1", "wayland-0", "/tmp/Horalia Ver:3.0.0.0-1000-:0.lock"},
        {"unix:0.0", nullptr, "/tmp/Horalia Ver:3.0.0.0-1000-:0.lock"},
        {":1", nullptr, "/tmp/Horalia Ver:3.0.0.0-1000-:1.lock"},
        {"localhost:10.0", nullptr, "/tmp/Horalia Ver:3.0.0.0-1000-localhost:10.lock"},
        {"", "wayland-1", "/tmp/Horalia Ver:3.0.0.0-1000-wayland-1.lock"},
        {nullptr, "/run/user/1000/wayland-0",
         "/tmp/Horalia Ver:3.0.0.0-1000-_run_user_1000_wayland-0.lock"},
        {nullptr, nullptr, "/tmp/Horalia Ver:3.0.0.0-1000.lock"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InstanceLockPath("Horalia Ver:3.0.0.0", 1000, DisplayKey(c.display, c.wayland)),
                  c.expected)
            << (c.display ? c.display : "(unset)");
    }
    EXPECT_EQ(InstanceLockPath("a/b", 7, ""), "/tmp/a_b-7.lock");
}

class InstanceLockTest : public testing::Test {
  protected:
    InstanceLockTest() {
        char pattern[] = "/tmp/horalia-lock-test.XXXXXX";
        folder_ = mkdtemp(pattern);
        path = folder_ + "/marker.lock";
    }
    ~InstanceLockTest() override { std::filesystem::remove_all(folder_); }

    std::string path;

  private:
    std::string folder_;
};

TEST_F(InstanceLockTest, SecondHolderIsRefusedUntilTheFirstEnds) {
    auto first = std::make_unique<InstanceLock>();
    ASSERT_EQ(first->TryAcquire(path), InstanceLock::Result::Acquired);

    InstanceLock second;
    EXPECT_EQ(second.TryAcquire(path), InstanceLock::Result::HeldElsewhere);

    first.reset();  // the instance ends
    EXPECT_EQ(second.TryAcquire(path), InstanceLock::Result::Acquired);
}

TEST_F(InstanceLockTest, MissingFolderOrPlantedLinkIsUnavailableNotRunning) {
    InstanceLock lock;
    EXPECT_EQ(lock.TryAcquire(path + ".d/inside.lock"), InstanceLock::Result::Unavailable);

    ASSERT_EQ(symlink("/etc/hostname", path.c_str()), 0);
    EXPECT_EQ(lock.TryAcquire(path), InstanceLock::Result::Unavailable);
}

TEST_F(InstanceLockTest, AFileOfAnotherUserIsUnavailableNotRunning) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "giving a file to another user takes root";
    }
    InstanceLock other;
    ASSERT_EQ(other.TryAcquire(path), InstanceLock::Result::Acquired);  // held by "someone else"
    ASSERT_EQ(chown(path.c_str(), 4242, 4242), 0);
    InstanceLock mine;
    EXPECT_EQ(mine.TryAcquire(path), InstanceLock::Result::Unavailable);
}

// A base, so that the application exists before the fixture's members are built.
struct WithApplication {
    WithApplication() { testing_qt::TestApplication(); }
};

class QtTrayTest : public testing::Test, private WithApplication {
  protected:
    QtTray tray{QIcon()};
};

TEST_F(QtTrayTest, MenuHasTheElevenEntriesInOrder) {
    const QList<QAction*> actions = tray.Menu().actions();
    ASSERT_EQ(actions.size(), 11);
    const char* captions[] = {
        "关闭报时[&C]", "开机启动[&R]", "", "网络校时[&T]", "", "参数设置[&S]", "",
        "意见反馈[&F]", "关于[&A]",     "", "退出程序[&E]"};
    for (int i = 0; i < 11; ++i) {
        const bool separator = captions[i][0] == '\0';
        EXPECT_EQ(actions[i]->isSeparator(), separator) << i;
        if (!separator) {
            EXPECT_EQ(actions[i]->text(), QString::fromUtf8(captions[i])) << i;
        }
    }
    QAction* announceOff = tray.Action(TrayMenuEntry::托盘图标_关闭报时);
    EXPECT_FALSE(announceOff->isEnabled());
    EXPECT_TRUE(announceOff->isCheckable());
    EXPECT_TRUE(tray.Action(TrayMenuEntry::托盘图标_开机启动)->isCheckable());
    EXPECT_FALSE(tray.Action(TrayMenuEntry::托盘图标_网络校时)->isCheckable());
    EXPECT_EQ(tray.Icon().toolTip(), QStringLiteral("Horalia"));
}

TEST_F(QtTrayTest, ChosenEntryIsReportedAndTheCoreKeepsTheCheckMark) {
    std::vector<TrayMenuEntry> chosen;
    tray.OnMenuChosen([&](TrayMenuEntry entry) { chosen.push_back(entry); });
    tray.SetMenuChecked(TrayMenuEntry::托盘图标_开机启动, true);

    tray.Action(TrayMenuEntry::托盘图标_开机启动)->trigger();
    tray.Action(TrayMenuEntry::托盘图标_退出程序)->trigger();

    EXPECT_EQ(chosen,
              (std::vector{TrayMenuEntry::托盘图标_开机启动, TrayMenuEntry::托盘图标_退出程序}));
    // Only SetMenuChecked moves the mark; a click alone does not.
    EXPECT_TRUE(tray.Action(TrayMenuEntry::托盘图标_开机启动)->isChecked());
    tray.SetMenuChecked(TrayMenuEntry::托盘图标_关闭报时, true);
    EXPECT_TRUE(tray.Action(TrayMenuEntry::托盘图标_关闭报时)->isChecked());
}

TEST_F(QtTrayTest, ActivationsReachTheClickHandlerFromTheEventLoop) {
    std::vector<std::int16_t> buttons;
    tray.OnClick([&](std::int16_t button) { buttons.push_back(button); });

    emit tray.Icon().activated(QSystemTrayIcon::Trigger);
    emit tray.Icon().activated(QSystemTrayIcon::DoubleClick);
    emit tray.Icon().activated(QSystemTrayIcon::MiddleClick);
    emit tray.Icon().activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(buttons.empty());  // not inside the icon's own event

    ASSERT_TRUE(QTest::qWaitFor([&] { return buttons.size() == 2; }, kWaitMs));
    EXPECT_EQ(buttons, (std::vector<std::int16_t>{1, 2}));
}

// The main form on the Qt tray and timers, everything else faked; the clock stands still until
// the test moves it, a few milliseconds before a whole second so that each tick comes quickly.

class NoProcess : public ProcessPort {
  public:
    bool MarkerWindowExists(const std::string&) override { return false; }
    void EndProcessNow() override {}
    void SetCurrentFolder(const std::string&) override {}
    void UnloadMainForm() override {}
};

class NoHooks : public ExternalHooks {
  public:
    void DoUpdate(const std::string&) override {}
    void ShowComment(const std::string&) override {}
};

TEST(QtMainFormTooltip, EveryTickRewritesTheTooltip) {
    testing_qt::TestApplication();
    fakes::FakeClock clock;
    clock.now = fakes::At(2026, 12, 7, 9, 0, 0, 990);
    fakes::FakeLocale locale;
    fakes::FakeProfileBackend backend;
    读写配置 config{backend};
    fakes::FakeStartStore startStore;
    SettingsRecord settings;
    QtTray tray{QIcon()};
    NoProcess process;
    fakes::NoForms forms;
    NoHooks hooks;
    fakes::FakeClipPlayer player;
    QtEventPump pump;
    fakes::FakeTimeSocket socket;
    fakes::FakeClockSetter clockSetter;
    fakes::FakeZoneClock zoneClock;
    fakes::FakeOneShotTimer replyTimer;
    QtFormTimer trayClock, announce, sync, update;
    const std::unique_ptr<DesktopHotkey> hotkey = MakeDesktopHotkey();  // none offscreen
    QuietSources quiet;
    fakes::FakeSmallFiles files;  // no 节假日.txt
    Form_Main form(FormMainServices{.paths = PathsBesideExecutable("/opt/horalia/horalia", '/'),
                                    .clock = clock,
                                    .locale = locale,
                                    .stores = {config, startStore, settings, files},
                                    .desktop = {tray, process, forms, hooks, *hotkey, quiet},
                                    .sound = {player, pump},
                                    .timeServer = {socket, replyTimer, clockSetter, zoneClock},
                                    .timers = {trayClock, announce, sync, update}});
    trayClock.OnFire([&] { form.Timer_更新托盘显示时间_Fired(); });

    form.Form_Load();
    const QString head =
        QStringLiteral("Horalia Ver:3.0.0.0\n鼠标右键单击：菜单\n鼠标左键单击：报时\n");
    EXPECT_EQ(tray.Icon().toolTip(), head + "2026/12/7 09:00:00");

    for (const char* expected : {"09:00:01", "09:00:02", "09:00:03"}) {
        clock.now += std::chrono::seconds(1);
        const QString text = head + "2026/12/7 " + expected;
        ASSERT_TRUE(QTest::qWaitFor([&] { return tray.Icon().toolTip() == text; }, kWaitMs))
            << expected;
    }
    EXPECT_TRUE(trayClock.Pending());  // re-armed after every tick
}

}  // namespace
}  // namespace horalia::qt
