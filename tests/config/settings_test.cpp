#include "config/settings.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "config/ini_file.h"
#include "config_test_support.h"
#include "fakes/fake_start_store.h"
#include "value_ini_fixture.h"

namespace horalia {
namespace {

using testing::FileExists;
using testing::TempFolder;
using testing::WriteBytes;

constexpr char kCommand[] = "\"D:\\Tools\\Horalia\\Horalia.exe\"";
const std::array<std::int32_t, 5> kHours = {1, 2, 6, 0, 0};

class LoadSettingsTest : public ::testing::Test {
  protected:
    LoadSettingsTest() { config.SpecifyIni(path); }

    // The file as the profile functions keep it, key names in GBK.
    SettingsRecord LoadFrom(const std::string& utf8Text) {
        WriteBytes(path, testing::PlatformGbkCodec().Utf8ToGbk(utf8Text).value());
        return Load();
    }
    SettingsRecord Load() {
        SettingsRecord record;
        record.AnnounceFormat = 99;  // LoadSettings sets every field
        record.AdShownDate = "stale";
        record.StartWithWindows = 5;
        LoadSettings(config, store, kCommand, record);
        return record;
    }

    TempFolder folder;
    std::string path = folder.File("Value.ini");
    读写配置 config;
    fakes::FakeStartStore store;
};

// Each key's default, as README lists them: what a new record holds and what a missing file,
// or a missing key, reads as. A key not listed here only has to agree with itself.
TEST_F(LoadSettingsTest, EveryKeyHasItsDefaultInANewRecordAndWithoutAFile) {
    const std::map<std::string, std::string> defaults = {
        {"报时设置", "0"}, {"格式设置", "0"}, {"广告设置", "0"}, {"关闭报时", "0"},
        {"开机启动", "0"}, {"自动校时", "0"}, {"广告日期", ""},  {"免打扰", ""},
        {"半点报时", "0"}, {"自然读法", "0"}, {"勿扰检测", "0"}, {"报时热键", "Ctrl+Alt+Shift+T"},
        {"音量", "100"},   {"语音目录", ""},  {"农历", "0"},     {"校时服务器", ""},
    };
    const SettingsRecord fresh;
    const SettingsRecord loaded = Load();
    for (const SettingRow& row : SettingsTable()) {
        EXPECT_EQ(row.write(fresh), row.write(loaded)) << row.key;
        if (defaults.contains(row.key)) {
            EXPECT_EQ(row.write(fresh), defaults.at(row.key)) << row.key;
        }
    }
    EXPECT_EQ(fresh.AnnounceHours, kHours);
    EXPECT_EQ(loaded.AnnounceHours, kHours);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(config.ErrorText, "");  // the date read clears what the absent numbers left
    EXPECT_EQ(store.writes, 0);
}

TEST_F(LoadSettingsTest, ReadsEveryKeyOfTheCommittedFile) {
    WriteBytes(path, testing::kAppliedValueIni);
    const SettingsRecord r = Load();
    EXPECT_EQ(r.AnnounceFrequency, 1);
    EXPECT_EQ(r.AnnounceFormat, 2);
    EXPECT_EQ(r.AdMode, 1);
    EXPECT_EQ(r.AnnounceOff, 0);
    EXPECT_EQ(r.AutoSyncOff, 1);
    EXPECT_EQ(r.AdShownDate, "2026|12|06");
    EXPECT_EQ(r.AnnounceHours, kHours);
}

TEST_F(LoadSettingsTest, OnlyTheAdKeysSet) {
    const SettingsRecord r = LoadFrom("[Horalia]\r\n广告设置=1\r\n广告日期=2026|12|07\r\n");
    EXPECT_EQ(r.AdMode, 1);
    EXPECT_EQ(r.AdShownDate, "2026|12|07");
    EXPECT_EQ(r.AnnounceFrequency, 0);
    EXPECT_EQ(r.AnnounceFormat, 0);
    EXPECT_EQ(r.AnnounceOff, 0);
    EXPECT_EQ(r.AutoSyncOff, 0);
}

TEST_F(LoadSettingsTest, ALongDateComesBackAsItsFirstElevenCharacters) {
    EXPECT_EQ(LoadFrom("[Horalia]\r\n广告日期=2026|12|06|extra\r\n").AdShownDate, "2026|12|06|");
}

// Numbers read as GetPrivateProfileInt reads them: the leading integer, blanks before it allowed.
TEST_F(LoadSettingsTest, BasicNumbersReadTheirLeadingInteger) {
    for (const char* text : {"2", " 2 ", "2x", "+2"}) {
        const std::string v = text;
        const SettingsRecord r = LoadFrom("[Horalia]\r\n报时设置=" + v + "\r\n格式设置=" + v +
                                          "\r\n广告设置=" + v + "\r\n");
        EXPECT_EQ(r.AnnounceFrequency, 2) << v;
        EXPECT_EQ(r.AnnounceFormat, 2) << v;
        EXPECT_EQ(r.AdMode, 2) << v;
        EXPECT_EQ(r.AnnounceHours, kHours) << v;
    }
}

// One place decides what a hand-edited value outside a key's range means: it reads as the key's
// default, so that the menu, the dialog and the schedule, which all read the record, agree
// (关闭报时=7 neither ticks 关闭报时 nor stops the schedule). Every key of the table is tried: a
// check box or a number not listed here with what any of them refuses.
TEST_F(LoadSettingsTest, EveryKeyReadsAValueOutsideItsRangeAsItsDefault) {
    const std::vector<std::string> numbers = {"-1", "-2147483648", "2147483647", "two",
                                              "99999999999"};
    const auto with = [&](std::vector<std::string> extra) {
        extra.insert(extra.end(), numbers.begin(), numbers.end());
        return extra;
    };
    const std::map<std::string, std::vector<std::string>> outside = {
        {"报时设置", with({"3", "4"})},
        {"格式设置", with({"4", "7"})},
        {"广告设置", with({"3"})},
        {"关闭报时", with({"2", "7"})},
        {"自动校时", with({"2", "7"})},
        {"广告日期", {}},  // any text is a date to compare with today's
        {"免打扰",
         {"22:00", "24:00-07:00", "7.30-8.00", "10:00-10:00", "yes", "12:00-13:00,yes",
          "12:00-13:00,,22:00-07:00", "12:00-13:00;22:00-07:00"}},
        {"半点报时", with({"3", "1x"})},
        {"报时间隔", with({"0", "7", "60", "10x", "10.0"})},
        {"报时日", {"0", "8", "5-1", "1-", "1,,2", "周一", "工作", "1-5,工作日"}},
        {"勿扰检测", with({"2", "1x"})},
        {"报时热键", {"T", "Shift+T", "Ctrl+", "Ctrl+Alt+F25", "Hyper+T", "Ctrl+时", "Ctrl++T"}},
        {"自然读法", with({"2", "1x"})},
        {"音量", with({"101", "250"})},
        {"语音目录", {}},    // any text names a folder; a missing one falls back clip by clip
        {"校时服务器", {}},  // kept as written: the program takes a text that is no list for ""
    };
    const SettingsRecord defaults = Load();
    for (const SettingRow& row : SettingsTable()) {
        if (!row.inValueIni) {
            continue;  // the start entry says yes or no
        }
        const auto listed = outside.find(row.key);
        const bool numeric = row.control.kind == ControlKind::kCheck ||
                             row.control.kind == ControlKind::kNumber ||
                             row.control.kind == ControlKind::kOptions;
        ASSERT_TRUE(listed != outside.end() || numeric) << row.key << ": name values to try";
        const std::vector<std::string> values = listed != outside.end() ? listed->second
                                                : row.control.kind == ControlKind::kCheck
                                                    ? with({"2", "1x"})
                                                    : numbers;
        for (const std::string& value : values) {
            const SettingsRecord r = LoadFrom("[Horalia]\r\n" + std::string(row.key) + "=" + value +
                                              "\r\n关闭报时=7\r\n");
            EXPECT_EQ(row.write(r), row.write(defaults)) << row.key << "=" << value;
            EXPECT_EQ(r.AnnounceOff, 0);
        }
    }
}

TEST_F(LoadSettingsTest, AdvancedKeysAndTheirFallbacks) {
    const SettingsRecord set = LoadFrom(
        "[Horalia]\r\n免打扰=22:30-07:00\r\n半点报时=1\r\n自然读法=1\r\n音量=35\r\n"
        "语音目录= D:\\声音\\女声 \r\n勿扰检测=1\r\n报时热键= ctrl+F12 \r\n报时间隔= 10 \r\n"
        "报时日=6,7\r\n");
    EXPECT_EQ(set.DesktopQuietCheck, 1);
    EXPECT_EQ(set.AnnounceHotkey, "Ctrl+F12");
    EXPECT_EQ(set.QuietPeriods, (std::vector<QuietPeriod>{{22 * 60 + 30, 7 * 60}}));
    EXPECT_EQ(set.AnnounceInterval, 10);
    EXPECT_EQ(set.AnnounceDays, ParseAnnouncementDays("6-7"));
    EXPECT_EQ(set.HalfOrQuarterHours, 1);
    EXPECT_EQ(set.NaturalReading, 1);
    EXPECT_EQ(set.Volume, 35);
    EXPECT_EQ(set.VoiceFolder, "D:\\声音\\女声");

    EXPECT_EQ(LoadFrom("[Horalia]\r\n半点报时=2\r\n").HalfOrQuarterHours, 2);
    EXPECT_EQ(LoadFrom("[Horalia]\r\n免打扰=12:00-13:30， 22:00-07:00\r\n").QuietPeriods,
              (std::vector<QuietPeriod>{{12 * 60, 13 * 60 + 30}, {22 * 60, 7 * 60}}));
    EXPECT_EQ(LoadFrom("[Horalia]\r\n报时日=工作日\r\n").AnnounceDays.kind,
              AnnouncementDays::Kind::kWorkingDays);
    // An empty hotkey is none.
    EXPECT_EQ(LoadFrom("[Horalia]\r\n报时热键=\r\n").AnnounceHotkey, "");
    EXPECT_EQ(LoadFrom("[Horalia]\r\n报时热键=super + control+f24\r\n").AnnounceHotkey,
              "Ctrl+Win+F24");
    EXPECT_EQ(LoadFrom("[Horalia]\r\n音量=0\r\n").Volume, 0);
}

TEST_F(LoadSettingsTest, SavedAdvancedKeysReadBackTheSame) {
    for (const bool quiet : {true, false}) {
        SettingsRecord written;
        if (quiet) {
            written.QuietPeriods = {{12 * 60, 13 * 60}, {23 * 60, 6 * 60 + 30}};
            written.AnnounceInterval = 5;
            written.AnnounceDays = ParseAnnouncementDays("1-5,7").value();
        }
        written.HalfOrQuarterHours = 2;
        written.DesktopQuietCheck = 1;
        written.AnnounceHotkey = quiet ? "Alt+Win+0" : "";
        written.NaturalReading = 1;
        written.Volume = 0;
        written.VoiceFolder = "D:\\声音";
        ASSERT_TRUE(SaveSettings(config, Load(), written, SettingsPage::kAdvanced));
        const SettingsRecord r = Load();
        EXPECT_EQ(r.QuietPeriods, written.QuietPeriods);
        EXPECT_EQ(r.AnnounceInterval, written.AnnounceInterval);
        EXPECT_EQ(r.AnnounceDays, written.AnnounceDays);
        EXPECT_EQ(r.HalfOrQuarterHours, 2);
        EXPECT_EQ(r.DesktopQuietCheck, 1);
        EXPECT_EQ(r.AnnounceHotkey, written.AnnounceHotkey);
        EXPECT_EQ(r.NaturalReading, 1);
        EXPECT_EQ(r.Volume, 0);
        EXPECT_EQ(r.VoiceFolder, written.VoiceFolder);
    }
}

// A save writes the file once, only the lines of the page's keys that changed; a person's edit
// in between shows as a change of the file, the program's own writes do not.
TEST_F(LoadSettingsTest, SaveWritesChangedKeysOnceAndAHandEditShows) {
    const std::string original = "; mine\r\n[Horalia]\r\n报时设置=1\r\n音量=100\r\n";
    SettingsRecord before = LoadFrom(original);
    EXPECT_FALSE(config.FileChanged());
    SettingsRecord after = before;
    after.AnnounceFormat = 2;  // basic page
    after.Volume = 40;         // advanced page: not saved with the basic one
    ASSERT_TRUE(SaveSettings(config, before, after, SettingsPage::kBasic));
    EXPECT_EQ(testing::ReadBytes(path),
              testing::PlatformGbkCodec()
                  .Utf8ToGbk("; mine\r\n[Horalia]\r\n报时设置=1\r\n音量=100\r\n格式设置=2\r\n")
                  .value());
    EXPECT_FALSE(config.FileChanged());
    EXPECT_TRUE(SaveSettings(config, after, after, SettingsPage::kAdvanced));  // nothing to write

    WriteBytes(path, testing::PlatformGbkCodec().Utf8ToGbk("[Horalia]\r\n报时设置=2\r\n").value());
    EXPECT_TRUE(config.FileChanged());
    EXPECT_EQ(Load().AnnounceFrequency, 2);
    EXPECT_FALSE(config.FileChanged());
}

TEST(ParseQuietPeriod, RealTimesOfDayOnly) {
    struct Case {
        const char* text;
        int start, end;  // -1: none
    };
    const Case kCases[] = {
        {"22:00-07:00", 22 * 60, 7 * 60},
        {"00:00-23:59", 0, 23 * 60 + 59},
        {"9:05-9:30", 9 * 60 + 5, 9 * 60 + 30},
        {" 12:00 - 13:00 ", 12 * 60, 13 * 60},
        {"", -1, -1},
        {"22:00", -1, -1},
        {"24:00-07:00", -1, -1},
        {"22:60-07:00", -1, -1},
        {"22:00-07:00-08:00", -1, -1},
        {"22.00-07.00", -1, -1},
        {"10:00-10:00", -1, -1},
        {"-10:00", -1, -1},
        {"1:5-2:00", -1, -1},
    };
    for (const Case& c : kCases) {
        const std::optional<QuietPeriod> q = ParseQuietPeriod(c.text);
        if (c.start < 0) {
            EXPECT_FALSE(q) << c.text;
        } else {
            ASSERT_TRUE(q) << c.text;
            EXPECT_EQ(*q, (QuietPeriod{c.start, c.end})) << c.text;
            EXPECT_EQ(ParseQuietPeriod(FormatQuietPeriod(*q)), q) << c.text;
        }
    }
    EXPECT_EQ(FormatQuietPeriod({22 * 60 + 30, 7 * 60}), "22:30-07:00");
    const QuietPeriod night{22 * 60, 7 * 60};
    EXPECT_TRUE(night.Contains(22 * 60));
    EXPECT_TRUE(night.Contains(0));
    EXPECT_TRUE(night.Contains(7 * 60 - 1));
    EXPECT_FALSE(night.Contains(7 * 60));
    EXPECT_FALSE(night.Contains(22 * 60 - 1));
    const QuietPeriod lunch{12 * 60, 13 * 60};
    EXPECT_TRUE(lunch.Contains(12 * 60));
    EXPECT_FALSE(lunch.Contains(13 * 60));
    EXPECT_FALSE(lunch.Contains(11 * 60 + 59));
}

TEST_F(LoadSettingsTest, StartWithWindowsMirrorsTheStartEntry) {
    store.entry = kCommand;
    EXPECT_EQ(Load().StartWithWindows, 1);
    store.entry = "\"D:\\Tools\\Old\\Horalia.exe\"";
    EXPECT_EQ(Load().StartWithWindows, 0);
    EXPECT_EQ(store.writes, 0);
    EXPECT_EQ(store.removals, 0);
}

}  // namespace
}  // namespace horalia
