#include "voice/announcer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/fake_clip_player.h"
#include "fakes/fake_locale.h"

namespace horalia {
namespace {

using fakes::FakeClipPlayer;
using fakes::FakeEventPump;

using FixedLocale = fakes::FakeLocale;

constexpr char kFolder[] = "C:\\Horalia\\Sound\\";

// "提示 今天是" -> {"C:\Horalia\Sound\提示.wav", "C:\Horalia\Sound\今天是.wav"}
std::vector<std::string> Paths(const std::string& texts) {
    std::vector<std::string> paths;
    std::istringstream in(texts);
    for (std::string text; in >> text;) {
        paths.push_back(kFolder + text + ".wav");
    }
    return paths;
}

Moment SundayTen() {
    Moment m;
    m.year = 2026;
    m.month = 12;
    m.day = 6;
    m.hour = 10;
    return m;
}

const char kDate[] = "今天是 二 零 二 六 年 十 二 月 六 日 星期 日 ";
const char kTime[] = "现在时间 上午 十 点 整 ";

class AnnouncerTest : public ::testing::Test {
  protected:
    // Announces with `options` as they stand whenever the announcement asks.
    void Announce(const Moment& moment) {
        voice.Announce(moment, [this] { return options; });
    }

    FakeClipPlayer player;
    FakeEventPump pump;
    FixedLocale locale;
    AnnouncementOptions options;
    语音报时 voice{player, pump, locale, kFolder};
};

TEST_F(AnnouncerTest, PlayClipPumpsBeforePlaying) {
    bool pumpedFirst = false;
    pump.Post([&] { pumpedFirst = player.calls.empty(); });
    voice.PlayClip("x.wav", 7);
    EXPECT_TRUE(pumpedFirst);
    ASSERT_EQ(player.calls.size(), 1u);
    EXPECT_EQ(player.calls[0].path, "x.wav");
    EXPECT_EQ(player.calls[0].flags, 7);
}

TEST_F(AnnouncerTest, SpeakTimeAndDatePlayOneFilePerClip) {
    Moment m = SundayTen();
    m.hour = 13;
    m.minute = 45;
    voice.SpeakTime(m);
    voice.SpeakDate(m);
    EXPECT_EQ(player.Paths(), Paths("现在时间 下午 一 点 四 十 五 分 " + std::string(kDate)));
    for (const auto& call : player.calls) {
        EXPECT_EQ(call.flags, 0);
    }
    // One pass of the pump before every clip, none after the last.
    EXPECT_EQ(pump.passes, static_cast<int>(player.calls.size()));
}

TEST_F(AnnouncerTest, SpeakTimeUsesTheLocaleDesignators) {
    locale.am = "上午";
    voice.SpeakTime(SundayTen());
    locale.am = "am";
    voice.SpeakTime(SundayTen());
    EXPECT_EQ(player.Paths(), Paths(std::string(kTime) + "现在时间 am 十 点 整"));
}

TEST_F(AnnouncerTest, FormatSelectsWhatFollowsTheChime) {
    struct Case {
        std::int32_t format;
        std::string clips;
    };
    const Case kCases[] = {
        {0, std::string("提示 ") + kTime},
        {1, std::string("提示 ") + kDate},
        {2, std::string("提示 ") + kDate + kTime},
        {3, "提示"},
        {-1, "提示"},
        {1000, "提示"},
    };
    for (const Case& c : kCases) {
        player.calls.clear();
        options.format = c.format;
        Announce(SundayTen());
        EXPECT_EQ(player.Paths(), Paths(c.clips)) << c.format;
        EXPECT_FALSE(voice.Announcing());
    }
}

TEST(ClipPath, TheVoiceFolderFirstThenTheProgramsOwn) {
    const std::set<std::string> present = {"D:\\Voice\\提示.wav", "/home/u/voice/一.wav"};
    const ClipExists exists = [&](const std::string& path) { return present.contains(path); };
    struct Case {
        const char* text;
        const char* own;
        const char* voice;
        const char* path;
    };
    const Case kCases[] = {
        {"提示", "C:\\Sound\\", "D:\\Voice", "D:\\Voice\\提示.wav"},
        {"提示", "C:\\Sound\\", "D:\\Voice\\", "D:\\Voice\\提示.wav"},
        {"两", "C:\\Sound\\", "D:\\Voice", "C:\\Sound\\两.wav"},  // lacking in the voice
        {"提示", "C:\\Sound\\", "", "C:\\Sound\\提示.wav"},       // no voice chosen
        {"提示", "C:\\Sound\\", "D:\\Missing", "C:\\Sound\\提示.wav"},
        {"一", "/opt/Sound/", "/home/u/voice", "/home/u/voice/一.wav"},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(ClipPath(c.text, c.own, c.voice, exists), c.path) << c.text << " " << c.voice;
    }
}

class VolumeRecorder : public FakeClipPlayer {
  public:
    void SetVolume(std::int32_t percent) override { volumes.push_back(percent); }
    std::vector<std::int32_t> volumes;
};

TEST(AnnouncerOptions, VoiceFolderVolumeAndNaturalReadingAreReadAtEachAnnouncement) {
    VolumeRecorder player;
    FakeEventPump pump;
    FixedLocale locale;
    AnnouncementOptions options;
    const ClipExists onlyTheChime = [](const std::string& path) { return path == "V/提示.wav"; };
    语音报时 voice{player, pump, locale, "S/", onlyTheChime};
    Moment m = SundayTen();
    m.hour = 14;
    m.minute = 5;
    const auto current = [&] { return options; };
    voice.Announce(m, current);
    options.voiceFolder = "V";
    options.naturalReading = true;
    options.volume = 40;
    voice.Announce(m, current);
    EXPECT_EQ(player.Paths(),
              (std::vector<std::string>{"S/提示.wav", "S/现在时间.wav", "S/下午.wav", "S/二.wav",
                                        "S/点.wav", "S/五.wav", "S/分.wav", "V/提示.wav",
                                        "S/现在时间.wav", "S/下午.wav", "S/两.wav", "S/点.wav",
                                        "S/零.wav", "S/五.wav", "S/分.wav"}));
    EXPECT_EQ(player.volumes, (std::vector<std::int32_t>{100, 40}));
}

TEST_F(AnnouncerTest, AnnouncingIsSetOnlyDuringTheAnnouncement) {
    std::vector<bool> seen;
    player.onPlay = [&](const std::string&, std::size_t) { seen.push_back(voice.Announcing()); };
    EXPECT_FALSE(voice.Announcing());
    Announce(SundayTen());
    EXPECT_FALSE(voice.Announcing());
    EXPECT_EQ(seen, std::vector<bool>(player.calls.size(), true));
    // Outside Announce the flag stays clear.
    seen.clear();
    voice.SpeakTime(SundayTen());
    EXPECT_EQ(seen, std::vector<bool>(5, false));
}

// A click that arrives while clip `during` plays is posted to the pump, as the platform queues it.
class ReentryTest : public AnnouncerTest {
  protected:
    void ClickDuring(std::size_t during) {
        player.onPlay = [this, during](const std::string&, std::size_t index) {
            if (index == during) {
                pump.Post([this] { Announce(SundayTen()); });
            }
        };
    }
};

TEST_F(ReentryTest, ClickDuringAnyClipButTheLastIsDropped) {
    options.format = 2;
    const std::vector<std::string> one = Paths(std::string("提示 ") + kDate + kTime);
    for (std::size_t during = 0; during + 1 < one.size(); ++during) {
        player.calls.clear();
        ClickDuring(during);
        Announce(SundayTen());
        EXPECT_EQ(player.Paths(), one) << "click during clip " << during;
        // Handled before the next clip, so nothing is left for later either.
        EXPECT_EQ(pump.Pending(), 0u) << during;
        pump.ProcessPendingEvents();
        EXPECT_EQ(player.calls.size(), one.size()) << during;
    }
}

TEST_F(ReentryTest, ClickDuringTheLastClipStartsANewAnnouncementAfterwards) {
    options.format = 0;
    const std::vector<std::string> one = Paths(std::string("提示 ") + kTime);
    ClickDuring(one.size() - 1);
    Announce(SundayTen());
    EXPECT_EQ(player.Paths(), one);
    EXPECT_FALSE(voice.Announcing());
    ASSERT_EQ(pump.Pending(), 1u);  // waits for the ordinary message loop
    player.onPlay = nullptr;
    pump.ProcessPendingEvents();
    std::vector<std::string> two = one;
    two.insert(two.end(), one.begin(), one.end());
    EXPECT_EQ(player.Paths(), two);
}

TEST_F(ReentryTest, FormatIsReadAtEachCallAfterTheChimesPump) {
    // A settings change still pending when the announcement starts is applied by the pump before
    // the chime, and the announcement follows it.
    options.format = 0;
    pump.Post([this] { options.format = 3; });
    Announce(SundayTen());
    EXPECT_EQ(player.Paths(), Paths("提示"));
    options.format = 1;
    player.calls.clear();
    Announce(SundayTen());
    EXPECT_EQ(player.Paths(), Paths(std::string("提示 ") + kDate));
}

TEST_F(AnnouncerTest, AFailingPlayerDoesNotLeaveTheFlagSet) {
    player.onPlay = [](const std::string&, std::size_t) { throw std::runtime_error("no device"); };
    EXPECT_THROW(Announce(SundayTen()), std::runtime_error);
    EXPECT_FALSE(voice.Announcing());
}

}  // namespace
}  // namespace horalia
