// The desktop's quiet sources, the portal's global shortcut and its OpenURI against the peers
// they ask: the X server (Xvfb) whose properties xprop sets, GSettings, and on the session bus
// the stand-ins of fake_desktop_services.py (Debian 12's xdg-desktop-portal opens a link only
// through a desktop's backend and a browser, neither of which runs here). Run by
// in_private_desktop.sh with QT_QPA_PLATFORM=xcb.
#include <gio/gio.h>  // before Qt, whose keyword "signals" GIO's headers use
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
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
#include "ui/extras/qt/desktop_url_opener.h"

namespace horalia::qt {
namespace {

constexpr int kWaitMs = 10000;

// A stand-in of fake_desktop_services.py in one mode, on the bus until destroyed.
class FakeService {
  public:
    FakeService(const char* mode, const char* name) : name_(QString::fromLatin1(name)) {
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(QStringLiteral(HORALIA_FAKE_SERVICES), {QString::fromLatin1(mode)});
        EXPECT_TRUE(QTest::qWaitFor([this] { return Output().contains("ready"); }, kWaitMs));
    }
    ~FakeService() {
        process_.kill();
        process_.waitForFinished();
        // Gone from the bus before the next test asks.
        EXPECT_TRUE(QTest::qWaitFor(
            [this] {
                return !QDBusConnection::sessionBus().interface()->isServiceRegistered(name_);
            },
            kWaitMs));
    }
    const QByteArray& Output() {
        output_ += process_.readAllStandardOutput();
        return output_;
    }

  private:
    QString name_;
    QProcess process_;
    QByteArray output_;
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

TEST(DesktopUrlOpener, ThroughThePortalsOpenUriWhereOneRunsXdgOpenOtherwise) {
    testing_qt::TestApplication();
    const std::string url = "https://example.com/horalia#soft_21";
    QTemporaryDir folder;
    const QString opened = folder.filePath(QStringLiteral("xdg-open.txt"));
    const QString xdgOpen = folder.filePath(QStringLiteral("xdg-open"));
    QFile script(xdgOpen);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho \"$@\" >'%1'\n").arg(opened).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const struct {
        const char* portalMode;  // nullptr: no portal on the bus
        bool byPortal;
    } cases[] = {{nullptr, false}, {"portal-without-shortcuts", false}, {"portal", true}};
    for (const auto& c : cases) {
        QFile::remove(opened);
        std::optional<FakeService> portal;
        if (c.portalMode != nullptr) {
            portal.emplace(c.portalMode, "org.freedesktop.portal.Desktop");
        }
        DesktopUrlOpener(xdgOpen).Open(url);
        const std::string mode = c.portalMode != nullptr ? c.portalMode : "no portal";
        const QByteArray asked = QByteArray("open ") + url.c_str() + "\n";
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return c.byPortal ? portal->Output().contains(asked) : QFile::exists(opened); },
            kWaitMs))
            << mode;
        QTest::qWait(500);  // the script has written its line; nothing opens it a second time
        QFile line(opened);
        EXPECT_EQ(line.open(QIODevice::ReadOnly) ? line.readAll().toStdString() : "",
                  c.byPortal ? "" : url + "\n")
            << mode;
        EXPECT_EQ(portal ? portal->Output().count(asked) : 0, c.byPortal ? 1 : 0) << mode;
    }
}

}  // namespace
}  // namespace horalia::qt
