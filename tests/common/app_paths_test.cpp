#include "common/app_paths.h"

#include <gtest/gtest.h>

namespace horalia {
namespace {

TEST(PathsBesideExecutable, FormsEveryPathFromTheFolderByConcatenation) {
    const AppPaths windows = PathsBesideExecutable("C:\\Program Files\\报时\\Horalia.exe", '\\');
    EXPECT_EQ(windows.appFolder, "C:\\Program Files\\报时");
    EXPECT_EQ(windows.soundFolder, "C:\\Program Files\\报时\\Sound\\");
    EXPECT_EQ(windows.iniPath, "C:\\Program Files\\报时\\Value.ini");
    EXPECT_EQ(windows.executablePath, "C:\\Program Files\\报时\\Horalia.exe");

    const AppPaths root = PathsBesideExecutable("/horalia", '/');
    EXPECT_EQ(root.appFolder, "");
    EXPECT_EQ(root.soundFolder, "/Sound/");
}

struct LinuxCase {
    const char* name;
    const char* executable;
    bool soundBeside;
    const char* configHome;
    const char* expectedSound;
    const char* expectedIni;
};

class LinuxAppPathsTest : public testing::TestWithParam<LinuxCase> {};

TEST_P(LinuxAppPathsTest, PicksTheLayout) {
    const LinuxCase& c = GetParam();
    const AppPaths paths = LinuxAppPaths(c.executable, c.soundBeside, c.configHome, "/home/li");
    EXPECT_EQ(paths.soundFolder, c.expectedSound);
    EXPECT_EQ(paths.iniPath, c.expectedIni);
    EXPECT_EQ(paths.executablePath, c.executable);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, LinuxAppPathsTest,
    testing::Values(LinuxCase{"BuildTree", "/src/build/bin/horalia", true, "",
                              "/src/build/bin/Sound/", "/src/build/bin/Value.ini"},
                    LinuxCase{"Unpacked", "/opt/horalia/horalia", false, "", "/opt/horalia/Sound/",
                              "/opt/horalia/Value.ini"},
                    LinuxCase{"InstalledDefaultConfig", "/usr/bin/horalia", false, "",
                              "/usr/share/horalia/Sound/", "/home/li/.config/horalia/Value.ini"},
                    LinuxCase{"InstalledXdgConfig", "/usr/local/bin/horalia", false, "/cfg",
                              "/usr/local/share/horalia/Sound/", "/cfg/horalia/Value.ini"},
                    LinuxCase{"RelativeXdgConfigIgnored", "/usr/bin/horalia", false, "cfg",
                              "/usr/share/horalia/Sound/", "/home/li/.config/horalia/Value.ini"},
                    LinuxCase{"FolderNamedLikeBin", "/home/li/robin/horalia", false, "",
                              "/home/li/robin/Sound/", "/home/li/robin/Value.ini"}),
    [](const testing::TestParamInfo<LinuxCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace horalia
