// The INI engine on Linux files: GBK with CR LF, UTF-8 files kept UTF-8, files that are no
// settings file left alone, and the crash-safe replacement.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "config/ini_document.h"
#include "config/profile_backend.h"
#include "config_test_support.h"

namespace horalia {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kBom = "\xEF\xBB\xBF";

class LinuxProfileBackend : public ::testing::Test {
  protected:
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    ProfileBackend& backend = SystemProfileBackend();
    TempFolder folder;
    std::string path = folder.File("Value.ini");
};

TEST_F(LinuxProfileBackend, StoresGbkWithCrLf) {
    ASSERT_TRUE(backend.WriteString("Horalia", "名称", "中文", path));
    EXPECT_EQ(ReadBytes(path), "[Horalia]\r\n\xC3\xFB\xB3\xC6=\xD6\xD0\xCE\xC4\r\n");
    EXPECT_EQ(backend.GetString("Horalia", "名称", 12, path), "中文");
}

TEST_F(LinuxProfileBackend, AHandSavedUtf8FileStaysUtf8) {
    for (const std::string& bom : {std::string(), kBom}) {
        WriteBytes(path, bom + "[Horalia]\n报时设置=1\n");
        EXPECT_EQ(backend.GetInt("Horalia", "报时设置", 77, path), 1);
        ASSERT_TRUE(backend.WriteString("Horalia", "格式设置", "2", path));
        EXPECT_EQ(ReadBytes(path), bom + "[Horalia]\n报时设置=1\n格式设置=2\n");
        // Cut in the file's own encoding, UTF-8: "中" takes three bytes.
        ASSERT_TRUE(backend.WriteString("Horalia", "zh", "中文", path));
        EXPECT_EQ(backend.GetString("Horalia", "zh", 4, path), "中");
        EXPECT_EQ(backend.GetString("Horalia", "zh", 6, path), "中");
        EXPECT_EQ(backend.GetString("Horalia", "zh", 7, path), "中文");
    }
}

TEST_F(LinuxProfileBackend, AnAsciiFileTakesChineseKeysInGbk) {
    WriteBytes(path, "[Horalia]\r\nk=1\r\n");
    ASSERT_TRUE(backend.WriteString("Horalia", "报", "2", path));
    EXPECT_EQ(ReadBytes(path), "[Horalia]\r\nk=1\r\n\xB1\xA8=2\r\n");
}

TEST_F(LinuxProfileBackend, AWriteThatWouldChangeHowTheFileReadsIsRefused) {
    const struct {
        const char* what;
        std::string gbkSection;
        const char* value;
    } cases[] = {
        {"no GBK form", "Horalia", "\xF0\x9F\x98\x80"},
        // "\xC3\xA4" also reads as UTF-8 ("ä"); the GBK line replaced was the only one that is not.
        {"GBK turned UTF-8", "\xC3\xA4", "1"},
    };
    for (const auto& c : cases) {
        const std::string before = "[" + c.gbkSection + "]\r\nk=\xB1\xA8\r\n";  // k=报
        const std::string section = *testing::PlatformGbkCodec().GbkToUtf8(c.gbkSection);
        WriteBytes(path, before);
        ASSERT_EQ(backend.GetString(section, "k", 12, path), "报") << c.what;
        EXPECT_FALSE(backend.WriteString(section, "k", c.value, path)) << c.what;
        EXPECT_EQ(ReadBytes(path), before) << c.what;
    }
}

TEST_F(LinuxProfileBackend, FilesThatAreNoSettingsFileReadAsAbsentAndStayWhole) {
    std::string huge = "[Horalia]\r\nk=1\r\n";
    huge.resize(ini::kMaxFileBytes + 1, ';');
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"binary", std::string("[Horalia]\r\nk=1\r\n\0\x01\x02", 19)},
        {"huge", huge},
        {"not GBK", "[Horalia]\r\nk=1\r\nx=\xFF\xFE\xFD\r\n"},
        {"UTF-16", std::string("\xFF\xFE[\0H\0]\0", 8)},
        {"bad UTF-8 after a BOM", kBom + "[Horalia]\r\nk=1\r\nx=\xB1\xA8\r\n"},
    };
    for (const auto& c : cases) {
        WriteBytes(path, c.bytes);
        EXPECT_EQ(backend.GetInt("Horalia", "k", 77, path), 77) << c.what;
        EXPECT_EQ(backend.GetString("Horalia", "k", 12, path), "") << c.what;
        EXPECT_FALSE(backend.WriteString("Horalia", "k", "2", path)) << c.what;
        EXPECT_EQ(ReadBytes(path), c.bytes) << c.what;
    }
}

TEST_F(LinuxProfileBackend, AWriteThatWouldPassTheSizeLimitIsRefused) {
    std::string nearlyFull = "[Horalia]\r\nk=1\r\n";
    nearlyFull.resize(ini::kMaxFileBytes - 8, ';');
    WriteBytes(path, nearlyFull);
    EXPECT_FALSE(backend.WriteString("Horalia", "k", "a value that does not fit", path));
    EXPECT_EQ(ReadBytes(path), nearlyFull);
    EXPECT_EQ(backend.GetInt("Horalia", "k", 77, path), 1);
}

TEST_F(LinuxProfileBackend, WritesReplaceTheFileAndKeepItsMode) {
    WriteBytes(path, "[Horalia]\r\nk=1\r\n");
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(backend.WriteString("Horalia", "k", std::to_string(i), path));
    }
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Value.ini"});  // no temporary left
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(backend.GetInt("Horalia", "k", 77, path), 4);
}

TEST_F(LinuxProfileBackend, AReadOnlyFileIsNotWritten) {
    const std::string before = "[Horalia]\r\nk=1\r\n";
    WriteBytes(path, before);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(backend.WriteString("Horalia", "k", "2", path));
    EXPECT_EQ(ReadBytes(path), before);
}

// A settings file kept elsewhere, LF-ended like any text file a person keeps: the link stays, and
// only the line of the key changes.
TEST_F(LinuxProfileBackend, ASymbolicLinkKeepsPointingAtTheUpdatedFile) {
    std::filesystem::create_directory(folder.Path() / "dotfiles");
    const std::string target = folder.File("dotfiles/Value.ini");
    WriteBytes(target, "# mine\n[Other]\nx = 1 \n\n[Horalia]\nk=1\n\n[Tail]\nz=1");
    std::filesystem::create_symlink(target, path);
    ASSERT_TRUE(backend.WriteString("Horalia", "k", "2", path));
    ASSERT_TRUE(backend.WriteString("Horalia", "j", "3", path));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(ReadBytes(target), "# mine\n[Other]\nx = 1 \n\n[Horalia]\nk=2\nj=3\n\n[Tail]\nz=1");
}

TEST_F(LinuxProfileBackend, AFifoOrAFolderInItsPlaceIsNoFile) {
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(backend.GetInt("Horalia", "k", 77, path), 77);  // does not wait for a writer
    EXPECT_FALSE(backend.WriteString("Horalia", "k", "2", path));
    std::filesystem::remove(path);

    std::filesystem::create_directory(path);
    EXPECT_EQ(backend.GetString("Horalia", "k", 12, path), "");
    EXPECT_FALSE(backend.WriteString("Horalia", "k", "2", path));
}

// A full disk stopping the write half-way, simulated by a file size limit.
TEST_F(LinuxProfileBackend, AWriteFailingHalfWayLeavesTheOldFile) {
    const std::string before = "[Horalia]\r\nk=1\r\n";
    WriteBytes(path, before);
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = backend.WriteString("Horalia", "k", std::string(200, 'x'), path);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Value.ini"});
}

}  // namespace
}  // namespace horalia
