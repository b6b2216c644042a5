// The desktop's quiet sources, the portal's global shortcut and the link opener against the peers
// they ask: the X server (Xvfb) whose properties xprop sets, GSettings, Debian's
// xdg-desktop-portal, and on the session bus the stand-ins of fake_desktop_services.py where no
// Debian 12 program offers what is asked. Run by in_private_desktop.sh with QT_QPA_PLATFORM=xcb.
#include <gio/gio.h>  // before Qt, whose keyword "signals" GIO's headers use
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest/QTest>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/qt/desktop_quiet.h"
#include "app/qt/portal_hotkey.h"
#include "app/qt/qt_test_application.h"
#include "common/qt/desktop_link.h"

namespace horalia::qt {
namespace {

constexpr int kWaitMs = 10000;

// A service on the session bus, from its start until it has left the bus again.
class BusService {
  public:
    BusService(const QString& program, const QStringList& arguments, const char* name,
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
        : name_(QString::fromLatin1(name)) {
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.setProcessEnvironment(environment);
        process_.start(program, arguments);
        EXPECT_TRUE(QTest::qWaitFor([this] { return OnTheBus(); }, kWaitMs))
            << name << ": " << Output().toStdString();
    }
    ~BusService() {
        process_.kill();
        process_.waitForFinished();
        // Gone from the bus before the next test asks.
        EXPECT_TRUE(QTest::qWaitFor([this] { return !OnTheBus(); }, kWaitMs));
    }
    const QByteArray& Output() {
        output_ += process_.readAllStandardOutput();
        return output_;
    }

  private:
    bool OnTheBus() const {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(name_);
    }

    QString name_;
    QProcess process_;
    QByteArray output_;
};

// A stand-in of fake_desktop_services.py in one mode.
class FakeService : public BusService {
  public:
    FakeService(const char* mode, const char* name)
        : BusService(QStringLiteral(HORALIA_FAKE_SERVICES), {QString::fromLatin1(mode)}, name) {}
};

bool Shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// xprop sets one value of a property; the list of states is written on the program's own
// connection.
TEST(X11FullScreen, QuietWhileTheActiveWindowIsFullScreen) {
    testing_qt::TestApplication();
    const X11Display display = QtX11Display();
    ASSERT_NE(display.connection, nullptr);
    X11FullScreen source(display);
    QWidget first;
    QWidget second;
    const std::string firstId = std::to_string(first.winId());
    const std::string secondId = std::to_string(second.winId());
    const auto activate = [](const std::string& id) {
        return [id] {
            EXPECT_TRUE(
                Shell("xprop -root -f _NET_ACTIVE_WINDOW 32x -set _NET_ACTIVE_WINDOW " + id));
        };
    };
    const auto state = [&](const char* atom) {
        return [&firstId, atom] {
            EXPECT_TRUE(
                Shell("xprop -id " + firstId + " -f _NET_WM_STATE 32a -set _NET_WM_STATE " + atom));
        };
    };
    const auto states = [&](std::vector<const char*> names) {
        return [&display, &first, names] {
            std::vector<xcb_atom_t> atoms;
            for (const char* name : names) {
                atoms.push_back(InternAtom(display.connection, name));
            }
            xcb_change_property(display.connection, XCB_PROP_MODE_REPLACE,
                                static_cast<xcb_window_t>(first.winId()),
                                InternAtom(display.connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32,
                                static_cast<std::uint32_t>(atoms.size()), atoms.data());
            xcb_flush(display.connection);
        };
    };
    const struct {
        const char* step;
        std::function<void()> change;
        bool quiet;
    } steps[] = {
        {"no active window", [] { EXPECT_TRUE(Shell("xprop -root -remove _NET_ACTIVE_WINDOW")); },
         false},
        {"active window without a state", activate(firstId), false},
        {"active window full screen", state("_NET_WM_STATE_FULLSCREEN"), true},
        {"full screen among other states",
         states({"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_FULLSCREEN", "_NET_WM_STATE_STICKY"}), true},
        {"another window active", activate(secondId), false},
        {"back to the first", activate(firstId), true},
        {"full screen cleared", state("_NET_WM_STATE_ABOVE"), false},
        {"active window none", activate("0"), false},
    };
    for (const auto& step : steps) {
        step.change();
        EXPECT_EQ(source.AsksForQuiet(), step.quiet) << step.step;
    }
}

TEST(X11FullScreen, NeverQuietWithoutX11) {
    EXPECT_FALSE(X11FullScreen(X11Display{}).AsksForQuiet());
}

// A notification server that does not answer must not hold the UI thread long.
TEST(NotificationsInhibited, ReadsTheServersPropertyAndWaitsAtMostAQuarterSecond) {
    testing_qt::TestApplication();
    const struct {
        const char* server;
        bool quiet;
    } cases[] = {
        {nullptr, false},         {"inhibited", true},
        {"not-inhibited", false}, {"without-property", false},
        {"silent", false},
    };
    for (const auto& c : cases) {
        std::optional<FakeService> server;
        if (c.server != nullptr) {
            server.emplace(c.server, "org.freedesktop.Notifications");
        }
        QElapsedTimer asking;
        asking.start();
        EXPECT_EQ(NotificationsInhibited().AsksForQuiet(), c.quiet) << c.server;
        EXPECT_LT(asking.elapsed(), 500) << c.server;
    }
}

// The setting as GNOME keeps it: Debian's gsettings command writes it through dconf-service on
// the test's private session bus and home, and the program reads it through dconf too.
TEST(GnomeBannersOff, QuietWhileBannersAreOff) {
    GSettingsSchema* schema = g_settings_schema_source_lookup(
        g_settings_schema_source_get_default(), "org.gnome.desktop.notifications", TRUE);
    if (schema == nullptr ||
        QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty()) {
        GTEST_SKIP() << "gsettings-desktop-schemas or gsettings is not installed";
    }
    g_settings_schema_unref(schema);
    GnomeBannersOff source;
    for (const bool banners : {true, false, true}) {
        const QString value = banners ? QStringLiteral("true") : QStringLiteral("false");
        ASSERT_EQ(QProcess::execute(
                      QStringLiteral("gsettings"),
                      {QStringLiteral("set"), QStringLiteral("org.gnome.desktop.notifications"),
                       QStringLiteral("show-banners"), value}),
                  0);
        QElapsedTimer waited;
        waited.start();
        while (source.AsksForQuiet() == banners && waited.elapsed() < 5000) {
            g_main_context_iteration(nullptr, FALSE);  // dconf's change notice
        }
        EXPECT_EQ(source.AsksForQuiet(), !banners) << "show-banners " << banners;
    }
}

TEST(PortalTrigger, WritesModifiersThenTheKeysymName) {
    const struct {
        const char* hotkey;
        const char* trigger;
    } cases[] = {
        {"Ctrl+Alt+Shift+T", "CTRL+ALT+SHIFT+t"},
        {"Shift+Win+F12", "SHIFT+LOGO+F12"},
        {"Alt+7", "ALT+7"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PortalTrigger(*ParseHotkey(c.hotkey)).toStdString(), c.trigger) << c.hotkey;
    }
}

TEST(PortalHotkey, UnavailableWithoutThePortalsGlobalShortcuts) {
    testing_qt::TestApplication();
    const Hotkey hotkey = *ParseHotkey(kDefaultHotkey);
    EXPECT_EQ(PortalHotkey().Register(hotkey), HotkeyState::kUnavailable) << "no portal";
    FakeService portal("portal-without-shortcuts", "org.freedesktop.portal.Desktop");
    EXPECT_EQ(PortalHotkey().Register(hotkey), HotkeyState::kUnavailable) << "an older portal";
}

TEST(PortalHotkey, BindsTheShortcutAndIsPressedWhenThePortalActivatesIt) {
    testing_qt::TestApplication();
    FakeService portal("portal", "org.freedesktop.portal.Desktop");
    PortalHotkey hotkey;
    int presses = 0;
    hotkey.OnPressed([&] { ++presses; });

    EXPECT_EQ(hotkey.Register(*ParseHotkey("Ctrl+Alt+Shift+T")), HotkeyState::kActive);
    // The portal activates another session's shortcut and another id first: not this one's.
    ASSERT_TRUE(QTest::qWaitFor([&] { return presses > 0; }, kWaitMs))
        << portal.Output().toStdString();
    EXPECT_EQ(presses, 1);
    EXPECT_TRUE(portal.Output().contains("bind announce 报时 CTRL+ALT+SHIFT+t\n"))
        << portal.Output().toStdString();

    hotkey.Unregister();
    EXPECT_TRUE(QTest::qWaitFor([&] { return portal.Output().contains("close "); }, kWaitMs));
}

// Debian's xdg-desktop-portal and its permission store, unpacked into build/peers, on the private
// bus. No backend runs, so the portal fails a link without a handler (the chooser it would show is
// a backend's), and xdg-open is asked.
class DebianPortal {
  public:
    static bool Unpacked() { return QFile::exists(Program("xdg-permission-store")); }
    DebianPortal()
        : store_(Program("xdg-permission-store"), {QStringLiteral("--replace")},
                 "org.freedesktop.impl.portal.PermissionStore", Environment()),
          portal_(Program("xdg-desktop-portal"), {QStringLiteral("--replace")},
                  "org.freedesktop.portal.Desktop", Environment()) {}

    // The desktop's handler for https: writes each link it is given to the file handled.
    static void WriteHandler(const QString& handled) {
        const QString handler = handled + QStringLiteral(".sh");
        WriteFile(handler, QStringLiteral("#!/bin/sh\necho \"$1\" >>'%1'\n").arg(handled));
        QFile::setPermissions(handler, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString data = QDir::homePath() + QStringLiteral("/.local/share/applications");
        QDir().mkpath(data);
        WriteFile(data + QStringLiteral("/horalia-test-browser.desktop"),
                  QStringLiteral("[Desktop Entry]\nType=Application\nName=Test browser\n"
                                 "Exec=%1 %u\nMimeType=x-scheme-handler/https;\n")
                      .arg(handler));
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        QDir().mkpath(config);
        WriteFile(config + QStringLiteral("/mimeapps.list"),
                  QStringLiteral("[Default Applications]\n"
                                 "x-scheme-handler/https=horalia-test-browser.desktop\n"));
    }

  private:
    static QString Program(const char* name) {
        return QStringLiteral(HORALIA_PEERS "/xdg-desktop-portal/usr/libexec/") +
               QString::fromLatin1(name);
    }
    static QProcessEnvironment Environment() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // Its libraries are installed; its backends' descriptions come from the unpacked
        // xdg-desktop-portal-gtk (OpenURI is offered only beside an application chooser).
        environment.insert(
            QStringLiteral("XDG_DESKTOP_PORTAL_DIR"),
            QStringLiteral(HORALIA_PEERS
                           "/xdg-desktop-portal-gtk/usr/share/xdg-desktop-portal/portals"));
        return environment;
    }
    static void WriteFile(const QString& path, const QString& text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(text.toUtf8());
    }

    BusService store_;
    BusService portal_;
};

// OpenLink's verdict and who opened the link, for each kind of desktop.
TEST(OpenLink, ThroughThePortalWhereOneRunsXdgOpenOtherwise) {
    testing_qt::TestApplication();
    if (!DebianPortal::Unpacked()) {
        GTEST_SKIP() << "xdg-desktop-portal is not unpacked in " HORALIA_PEERS;
    }
    QTemporaryDir folder;
    const QString byProgram = folder.filePath(QStringLiteral("xdg-open.txt"));
    const QString byHandler = folder.filePath(QStringLiteral("handler.txt"));
    DebianPortal::WriteHandler(byHandler);
    const auto xdgOpen = [&](int status) {
        const QString path = folder.filePath(QStringLiteral("xdg-open-%1").arg(status));
        QFile script(path);
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho \"$@\" >>'%1'\nexit %2\n")
                         .arg(byProgram)
                         .arg(status)
                         .toUtf8());
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    };
    const QString web = QStringLiteral("https://example.com/horalia#soft_21");
    const QString unhandled = QStringLiteral("horalia-unknown:1");
    enum class Desktop { kNoPortal, kPortalWithoutOpenUri, kDebianPortal };
    const struct {
        Desktop desktop;
        QString url;
        QString program;
        bool opened;
        bool programSaw;
        bool handlerSaw;
    } cases[] = {
        {Desktop::kNoPortal, web, xdgOpen(0), true, true, false},
        {Desktop::kNoPortal, web, xdgOpen(3), false, true, false},  // xdg-open found no handler
        {Desktop::kNoPortal, web, folder.filePath(QStringLiteral("missing")), false, false, false},
        {Desktop::kPortalWithoutOpenUri, web, xdgOpen(0), true, true, false},
        {Desktop::kDebianPortal, web, xdgOpen(0), true, false, true},
        {Desktop::kDebianPortal, unhandled, xdgOpen(3), false, true, false},  // both fail
    };
    const auto written = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    for (const auto& c : cases) {
        QFile::remove(byProgram);
        QFile::remove(byHandler);
        std::optional<FakeService> fake;
        std::optional<DebianPortal> debian;
        if (c.desktop == Desktop::kPortalWithoutOpenUri) {
            fake.emplace("portal-without-shortcuts", "org.freedesktop.portal.Desktop");
        } else if (c.desktop == Desktop::kDebianPortal) {
            debian.emplace();
        }
        const std::string what = c.url.toStdString() + " with " + c.program.toStdString() +
                                 " on desktop " + std::to_string(static_cast<int>(c.desktop));
        std::optional<bool> verdict;
        OpenLink(
            c.url, nullptr, [&](bool opened) { verdict = opened; }, c.program);
        ASSERT_TRUE(QTest::qWaitFor([&] { return verdict.has_value(); }, kWaitMs)) << what;
        EXPECT_EQ(*verdict, c.opened) << what;
        QTest::qWait(300);  // room for a handler that should not have run, or ran twice
        const QByteArray once = c.url.toUtf8() + "\n";
        EXPECT_EQ(written(byProgram), c.programSaw ? once : QByteArray()) << what;
        EXPECT_EQ(written(byHandler), c.handlerSaw ? once : QByteArray()) << what;
    }
}

}  // namespace
}  // namespace horalia::qt
