// 读写配置 on the platform's own profile backend and real files: the INI engine, on Linux and on
// Windows (under Wine).
#include "config/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "config_test_support.h"

namespace horalia {
namespace {

using testing::FileExists;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

constexpr char kNoFile[] = "没有指定文件 ";
constexpr char kWriteFailed[] = "写入失败 ";
constexpr char kCannotRead[] = "不能读取 ";

class IniAccessor : public ::testing::Test {
  protected:
    void UseFile(const std::string& text) {
        WriteBytes(path, text);
        config.SpecifyIni(path);
    }

    TempFolder folder;
    std::string path = folder.File("Value.ini");
    读写配置 config;
};

TEST_F(IniAccessor, WithoutAFileNothingIsWritten) {
    EXPECT_EQ(config.ErrorText, "");
    EXPECT_FALSE(config.WriteString("Horalia", "报时设置", "1"));
    EXPECT_EQ(config.ErrorText, kNoFile);
    config.ErrorText = "x";
    EXPECT_EQ(config.ReadString("Horalia", "报时设置", 12), "");
    EXPECT_EQ(config.ErrorText, kNoFile);
    EXPECT_EQ(config.ReadInt("Horalia", "报时设置"), 0);
    EXPECT_EQ(config.ErrorText, kCannotRead);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST_F(IniAccessor, SpecifyIniDropsSurroundingBlanks) {
    config.SpecifyIni("  " + path + "   ");
    EXPECT_TRUE(config.WriteString("Horalia", "报时设置", "1"));
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(config.ReadInt("Horalia", "报时设置"), 1);

    config.SpecifyIni("   ");
    EXPECT_FALSE(config.WriteString("Horalia", "报时设置", "2"));
    EXPECT_EQ(config.ErrorText, kNoFile);
}

TEST_F(IniAccessor, SpecifyIniNeitherReadsNorCreates) {
    config.SpecifyIni(path);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(config.ReadString("Horalia", "广告日期", 12), "");
    EXPECT_EQ(config.ReadInt("Horalia", "报时设置"), 0);
    EXPECT_FALSE(FileExists(path));
}

TEST_F(IniAccessor, FirstWriteCreatesFileSectionAndKey) {
    config.SpecifyIni(path);
    EXPECT_TRUE(config.WriteString("Horalia", "格式设置", "2"));
    EXPECT_EQ(config.ErrorText, "");
    EXPECT_EQ(config.ReadInt("Horalia", "格式设置"), 2);
    EXPECT_TRUE(config.WriteString("Horalia", "格式设置", "0"));
    EXPECT_EQ(config.ReadInt("Horalia", "格式设置"), 0);
    EXPECT_TRUE(config.WriteString("Horalia", "名称", "中文"));
    EXPECT_EQ(config.ReadString("HORALIA", "名称", 100), "中文");
}

TEST_F(IniAccessor, ReadIntTellsAbsentFromZero) {
    UseFile(
        "[Horalia]\r\nzero=0\r\ntwo=2\r\nword=abc\r\nnegative=-3\r\nblanks=  7  \r\nempty=\r\n"
        "Mixed=5\r\n");
    const struct {
        const char* key;
        std::int32_t value;
        const char* errorText;  // after starting from "x"
    } cases[] = {
        {"absent", 0, kCannotRead}, {"zero", 0, "x"},      {"two", 2, "x"},
        {"word", 0, "x"},           {"negative", -3, "x"}, {"blanks", 7, "x"},
        {"empty", 0, kCannotRead},  {"MIXED", 5, "x"},
    };
    for (const auto& c : cases) {
        config.ErrorText = "x";
        EXPECT_EQ(config.ReadInt("horalia", c.key), c.value) << c.key;
        EXPECT_EQ(config.ErrorText, c.errorText) << c.key;
    }
}

TEST_F(IniAccessor, ReadStringCutsAtSizeMinusOne) {
    UseFile("[Horalia]\r\ndate=2026|12|06abcde\r\n");
    config.ErrorText = "x";
    EXPECT_EQ(config.ReadString("Horalia", "date", 12), "2026|12|06a");
    EXPECT_EQ(config.ErrorText, "");
    EXPECT_EQ(config.ReadString("Horalia", "date", 100), "2026|12|06abcde");
    EXPECT_EQ(config.ReadString("Horalia", "date", 1), "");
    EXPECT_EQ(config.ReadString("Horalia", "date", 0), "");
    config.ErrorText = "x";
    EXPECT_EQ(config.ReadString("Horalia", "absent", 12), "");
    EXPECT_EQ(config.ErrorText, "");
}

TEST_F(IniAccessor, FailedWriteIsReportedAndClearedOnlyByReadString) {
    config.SpecifyIni(folder.File("no such folder/Value.ini"));
    EXPECT_FALSE(config.WriteString("Horalia", "报时设置", "1"));
    EXPECT_EQ(config.ErrorText, kWriteFailed);
    EXPECT_FALSE(FileExists(folder.File("no such folder")));

    // A Value.ini that cannot be opened for writing (here a folder in its place) fails alike.
    std::filesystem::create_directory(path);
    config.SpecifyIni(path);
    EXPECT_FALSE(config.WriteString("Horalia", "报时设置", "1"));
    EXPECT_EQ(config.ErrorText, kWriteFailed);
    std::filesystem::remove(path);

    UseFile("[Horalia]\r\nk=1\r\n");
    config.ErrorText = kWriteFailed;
    EXPECT_EQ(config.ReadInt("Horalia", "k"), 1);
    EXPECT_EQ(config.ErrorText, kWriteFailed);
    EXPECT_EQ(config.ReadString("Horalia", "k", 12), "1");
    EXPECT_EQ(config.ErrorText, "");
}

TEST_F(IniAccessor, TextsThatWouldAddLinesAreNotWritten) {
    const std::string before = "[Horalia]\r\nk=1\r\n";
    UseFile(before);
    EXPECT_FALSE(config.WriteString("Horalia", "k", "2\r\n[Other]\r\nx=1"));
    EXPECT_EQ(config.ErrorText, kWriteFailed);
    EXPECT_FALSE(config.WriteString("Horalia", "a\nb", "1"));
    EXPECT_FALSE(config.WriteString("Horalia]\r\n[X", "k", "1"));
    EXPECT_FALSE(config.WriteString("Horalia", "a=b", "1"));
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(config.ReadInt("Other", "x"), 0);
}

TEST_F(IniAccessor, EveryReadGoesToTheFile) {
    UseFile("[Horalia]\r\nk=1\r\n");
    EXPECT_EQ(config.ReadInt("Horalia", "k"), 1);
    WriteBytes(path, "[Horalia]\r\nk=2\r\n");
    EXPECT_EQ(config.ReadInt("Horalia", "k"), 2);
    EXPECT_TRUE(config.WriteString("Horalia", "k", "3"));
    EXPECT_EQ(config.ReadString("Horalia", "k", 12), "3");
}

TEST(IniAccessorConfig, IsOneSharedInstance) {
    EXPECT_EQ(&Config(), &Config());
}

}  // namespace
}  // namespace horalia
