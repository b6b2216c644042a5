// Starting at log-on on Linux: the XDG autostart file in a throw-away $XDG_CONFIG_HOME.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "config/linux/xdg_autostart_store.h"
#include "config/start_with_system.h"
#include "config_test_support.h"

namespace horalia {
namespace {

using linux_backend::XdgAutostartStore;
using testing::FileExists;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

constexpr char kCommand[] = "\"/opt/Horalia Clock/bin/horalia\"";

class XdgAutostart : public ::testing::Test {
  protected:
    void WriteForeignFile(const std::string& text) {
        std::filesystem::create_directories(folder.Path() / "autostart");
        WriteBytes(file, text);
    }

    TempFolder folder;
    XdgAutostartStore store{folder.Path().string()};
    std::string file = folder.File("autostart/Chimewick.desktop");
};

TEST_F(XdgAutostart, RegisterWritesADesktopEntryAndUnregisterRemovesIt) {
    EXPECT_EQ(store.FilePath(), file);
    EXPECT_FALSE(IsStartRegistered(store, kCommand));
    RegisterStart(store, kCommand);
    EXPECT_EQ(ReadBytes(file),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Horalia\n"
              "TryExec=/opt/Horalia Clock/bin/horalia\n"
              "Exec=\"/opt/Horalia Clock/bin/horalia\"\n"
              "Icon=horalia\n"
              "X-GNOME-Autostart-enabled=true\n");
    EXPECT_TRUE(IsStartRegistered(store, kCommand));
    EXPECT_EQ(store.Read(), std::string(kCommand));

    UnregisterStart(store);
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(IsStartRegistered(store, kCommand));
    EXPECT_FALSE(store.Remove());  // already gone: fails quietly
}

TEST_F(XdgAutostart, RegisteredMeansExecEqualsTheCommandExactly) {
    const struct {
        std::string text;
        bool registered;
    } cases[] = {
        {"[Desktop Entry]\nExec=\"/opt/Horalia Clock/bin/horalia\"\n", true},
        {"[Desktop Entry]\r\nName=Mine\r\nExec=\"/opt/Horalia Clock/bin/horalia\"\r\n", true},
        {"[Desktop Entry]\nExec=/opt/Horalia Clock/bin/horalia\n", false},
        {"[Desktop Entry]\nExec=\"/opt/old/bin/horalia\"\n", false},
        {"[Desktop Entry]\nExec=\"/opt/Horalia Clock/bin/horalia\" --tray\n", false},
        {"[Desktop Entry]\nExec=\n", false},
        {"[Desktop Entry]\nName=No Exec\n", false},
        {"[Other]\nExec=\"/opt/Horalia Clock/bin/horalia\"\n", false},
        {std::string("\0\1binary", 8), false},
    };
    for (const auto& c : cases) {
        WriteForeignFile(c.text);
        EXPECT_EQ(IsStartRegistered(store, kCommand), c.registered) << c.text;
    }
}

TEST_F(XdgAutostart, SomeoneElsesFileIsOnlyReplacedOrRemoved) {
    const std::string foreign = "[Desktop Entry]\nType=Application\nExec=/usr/bin/other\n";
    WriteForeignFile(foreign);
    RegisterStart(store, kCommand);
    EXPECT_TRUE(IsStartRegistered(store, kCommand));
    EXPECT_EQ(ReadBytes(file).find("other"), std::string::npos);

    WriteForeignFile(foreign);
    UnregisterStart(store);
    EXPECT_FALSE(FileExists(file));
}

TEST_F(XdgAutostart, AnEqualEntryIsLeftUntouched) {
    const std::string mine =
        "[Desktop Entry]\nName=Kept\nExec=\"/opt/Horalia Clock/bin/horalia\"\n";
    WriteForeignFile(mine);
    RegisterStart(store, kCommand);
    EXPECT_EQ(ReadBytes(file), mine);
}

TEST_F(XdgAutostart, CommandsTheLauncherWouldReadDifferentlyAreNotWritten) {
    const char* refused[] = {
        "\"/opt/100%/horalia\"",
        "\"/opt/$HOME/horalia\"",
        "\"/opt/`id`/horalia\"",
        "\"/opt/a\\b/horalia\"",
        "\"/opt/a\"b/horalia\"",
        "\"/opt/a\nExec=x/horalia\"",
        "/opt/unquoted/horalia",
        "\"",
        "",
    };
    for (const char* command : refused) {
        EXPECT_FALSE(store.Write(command)) << command;
        EXPECT_FALSE(FileExists(file)) << command;
    }
    EXPECT_TRUE(store.Write("\"/home/用户/horalia\""));
    EXPECT_EQ(store.Read(), std::string("\"/home/用户/horalia\""));
}

// systemd's autostart generator, the desktop-independent reader of these files, makes a user unit
// of the entry while the program is there and skips the entry once TryExec names nothing (as
// desktop sessions do, which look no further than TryExec); desktop-file-validate finds nothing
// wrong with it.
TEST_F(XdgAutostart, TheDesktopStartsTheEntryOnlyWhileTheProgramExists) {
    const std::string generator =
        "/usr/lib/systemd/user-generators/systemd-xdg-autostart-generator";
    if (!FileExists(generator)) {
        GTEST_SKIP() << "systemd's autostart generator is not installed";
    }
    const std::filesystem::path program = folder.Path() / "Horalia Clock" / "horalia";
    std::filesystem::create_directories(program.parent_path());
    std::filesystem::copy_file("/bin/true", program);
    RegisterStart(store, StartCommand(program.string()));
    EXPECT_EQ(std::system(("desktop-file-validate '" + file + "'").c_str()), 0);

    const std::string units = folder.File("units");
    const std::string unit = units + "/app-Chimewick@autostart.service";
    const std::string generate =
        "XDG_CONFIG_HOME='" + folder.Path().string() +
        "' XDG_CONFIG_DIRS=/nonexistent SYSTEMD_LOG_TARGET=console SYSTEMD_LOG_LEVEL=debug " +
        generator + " '" + units + "' '" + units + "' '" + units + "' 2>'" + units + ".log'";
    std::filesystem::create_directories(units);
    ASSERT_EQ(std::system(generate.c_str()), 0);
    EXPECT_NE(ReadBytes(unit).find("ExecStart=:\"" + program.string() + "\"\n"), std::string::npos)
        << ReadBytes(unit);

    std::filesystem::remove(unit);
    std::filesystem::remove(program);
    ASSERT_EQ(std::system(generate.c_str()), 0);
    EXPECT_FALSE(FileExists(unit));
    EXPECT_NE(ReadBytes(units + ".log").find("TryExec"), std::string::npos);  // not for Exec
}

TEST(XdgAutostartWithoutHome, NothingIsReadWrittenOrRemoved) {
    XdgAutostartStore store{""};
    EXPECT_FALSE(store.Write(kCommand));
    EXPECT_EQ(store.Read(), std::nullopt);
    EXPECT_FALSE(store.Remove());
}

// Sets (or, with nullptr, removes) an environment variable for one scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(ConfigHome, FollowsTheXdgRules) {
    const struct {
        const char* xdg;
        const char* home;
        const char* expected;
    } cases[] = {
        {"/x/config", "/home/u", "/x/config"},
        {nullptr, "/home/u", "/home/u/.config"},
        {"", "/home/u", "/home/u/.config"},
        {"relative/config", "/home/u", "/home/u/.config"},
        {nullptr, nullptr, ""},
        {nullptr, "relative", ""},
    };
    for (const auto& c : cases) {
        ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        ScopedEnv home("HOME", c.home);
        EXPECT_EQ(linux_backend::ConfigHome(), c.expected)
            << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
    }
}

}  // namespace
}  // namespace horalia
