// The platform's profile backend against the committed Value.ini, as kernel32's profile functions
// left it: the INI engine reads and writes the same bytes on both systems (the Windows build
// under Wine, in Chinese, English and Japanese), so a file written on one reads the same on the
// other, and files of earlier versions keep working.
#include "config/profile_backend.h"

#include <gtest/gtest.h>

#include "config/ini_document.h"
#include "config_test_support.h"
#include "value_ini_fixture.h"

namespace horalia {
namespace {

using testing::kAppliedValueIni;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

class ProfileBackendTest : public ::testing::Test {
  protected:
    ProfileBackend& backend = SystemProfileBackend();
    TempFolder folder;
    std::string path = folder.File("Value.ini");
};

TEST_F(ProfileBackendTest, WritesTheBytesKernel32Writes) {
    const std::pair<const char*, const char*> writes[] = {
        {"报时设置", "1"}, {"格式设置", "2"}, {"广告设置", "1"},
        {"关闭报时", "0"}, {"自动校时", "1"}, {"广告日期", "2026|12|06"},
    };
    for (const auto& [key, value] : writes) {
        ASSERT_TRUE(backend.WriteString("Horalia", key, value, path)) << key;
    }
    EXPECT_EQ(ReadBytes(path), kAppliedValueIni);
}

TEST_F(ProfileBackendTest, ReadsTheCommittedFile) {
    WriteBytes(path, kAppliedValueIni);
    const std::pair<const char*, std::int32_t> numbers[] = {
        {"报时设置", 1}, {"格式设置", 2}, {"广告设置", 1}, {"关闭报时", 0}, {"自动校时", 1},
    };
    for (const auto& [key, value] : numbers) {
        EXPECT_EQ(backend.GetInt("horalia", key, 77, path), value) << key;
    }
    EXPECT_EQ(backend.GetString("HORALIA", "广告日期", 12, path), "2026|12|06");
    EXPECT_EQ(backend.GetInt("Horalia", "absent", 77, path), 77);
    EXPECT_EQ(backend.GetInt("Absent", "报时设置", 77, path), 77);
    EXPECT_EQ(backend.GetString("Horalia", "absent", 12, path), "");
    EXPECT_EQ(backend.GetInt("Horalia", "报时设置", 77, folder.File("missing.ini")), 77);
}

TEST_F(ProfileBackendTest, TheEngineReadsWhatKernel32Wrote) {
    const auto decoded = ini::DecodeFile(kAppliedValueIni, testing::PlatformGbkCodec());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->encoding, ini::Encoding::kGbk);
    const ini::IniDocument doc = ini::IniDocument::Parse(decoded->utf8);
    EXPECT_EQ(doc.Get("Horalia", "报时设置"), "1");
    EXPECT_EQ(doc.Get("Horalia", "广告日期"), "2026|12|06");
    EXPECT_EQ(doc.Serialize(), decoded->utf8);
}

TEST_F(ProfileBackendTest, ReplacingAValueKeepsTheOtherLines) {
    WriteBytes(path, kAppliedValueIni);
    ASSERT_TRUE(backend.WriteString("Horalia", "格式设置", "3", path));
    std::string expected = kAppliedValueIni;
    expected.replace(expected.find("=2\r\n"), 4, "=3\r\n");
    EXPECT_EQ(ReadBytes(path), expected);

    ASSERT_TRUE(backend.WriteString("Other", "k", "v", path));
    EXPECT_EQ(ReadBytes(path), expected + "[Other]\r\nk=v\r\n");
}

TEST_F(ProfileBackendTest, BlanksQuotesAndEmptyValuesReadAlike) {
    WriteBytes(path, "[Horalia]\r\nq=\"12\"\r\ns=  7  \r\ne=\r\nw=word\r\n");
    EXPECT_EQ(backend.GetInt("Horalia", "q", 77, path), 12);
    EXPECT_EQ(backend.GetString("Horalia", "q", 12, path), "12");
    EXPECT_EQ(backend.GetInt("Horalia", "s", 77, path), 7);
    EXPECT_EQ(backend.GetString("Horalia", "s", 12, path), "7");
    EXPECT_EQ(backend.GetInt("Horalia", "e", 77, path), 77);
    EXPECT_EQ(backend.GetString("Horalia", "e", 12, path), "");
    EXPECT_EQ(backend.GetInt("Horalia", "w", 77, path), 0);
}

TEST_F(ProfileBackendTest, TextsWithoutAGbkFormAreNeitherWrittenNorFound) {
    const std::string smiley = "\xF0\x9F\x98\x80";
    WriteBytes(path, "[Horalia]\r\n?=1\r\nk=1\r\n");
    EXPECT_FALSE(backend.WriteString("Horalia", "k", smiley, path));
    EXPECT_FALSE(backend.WriteString("Horalia", smiley, "2", path));
    EXPECT_EQ(ReadBytes(path), "[Horalia]\r\n?=1\r\nk=1\r\n");
    EXPECT_EQ(backend.GetInt("Horalia", smiley, 77, path), 77);  // not the key "?"
    EXPECT_EQ(backend.GetString("Horalia", smiley, 12, path), "");
}

TEST_F(ProfileBackendTest, ACutValueNeverEndsInHalfACharacter) {
    WriteBytes(path, "[Horalia]\r\nzh=\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4\r\n");  // 中文中文
    const char* expected[] = {"",     "",     "",       "中",     "中",
                              "中文", "中文", "中文中", "中文中", "中文中文"};
    for (std::int32_t size = 0; size < 10; ++size) {
        EXPECT_EQ(backend.GetString("Horalia", "zh", size, path), expected[size]) << size;
    }
}

}  // namespace
}  // namespace horalia
