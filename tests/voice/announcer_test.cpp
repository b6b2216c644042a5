#include "voice/announcer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/fake_clip_player.h"

namespace horalia {
namespace {

using fakes::FakeClipPlayer;
using fakes::FakeEventPump;

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
    // Announces with `options` as they stand whenever the announcement asks, and lets the
    // player's answers run on this thread until it is over.
    void Announce(const Moment& moment) {
        voice.Announce(moment, [this] { return options; });
        pump.ProcessPendingEvents();
    }

    FakeClipPlayer player;
    FakeEventPump pump;
    AnnouncementOptions options;
    语音报时 voice{player, pump, kFolder};
};

TEST_F(AnnouncerTest, SpeakTimeAndDateHandOneFilePerClip) {
    Moment m = SundayTen();
    m.hour = 13;
    m.minute = 45;
    voice.SpeakTime(m);
    voice.SpeakDate(m);
    EXPECT_EQ(player.Paths(), Paths("现在时间 下午 一 点 四 十 五 分 " + std::string(kDate)));
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
        player.paths.clear();
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

TEST(AnnouncerOptions, VoiceFolderVolumeAndNaturalReadingAreReadAtEachAnnouncement) {
    FakeClipPlayer player;
    FakeEventPump pump;
    AnnouncementOptions options;
    const ClipExists onlyTheChime = [](const std::string& path) { return path == "V/提示.wav"; };
    语音报时 voice{player, pump, "S/", onlyTheChime};
    Moment m = SundayTen();
    m.hour = 14;
    m.minute = 5;
    const auto current = [&] { return options; };
    voice.Announce(m, current);
    pump.ProcessPendingEvents();
    options.voiceFolder = "V";
    options.naturalReading = true;
    options.volume = 40;
    voice.Announce(m, current);
    pump.ProcessPendingEvents();
    EXPECT_EQ(player.Paths(),
              (std::vector<std::string>{"S/提示.wav", "S/现在时间.wav", "S/下午.wav", "S/二.wav",
                                        "S/点.wav", "S/五.wav", "S/分.wav", "V/提示.wav",
                                        "S/现在时间.wav", "S/下午.wav", "S/两.wav", "S/点.wav",
                                        "S/零.wav", "S/五.wav", "S/分.wav"}));
    EXPECT_EQ(player.volumes, (std::vector<std::int32_t>{100, 100, 100, 100, 100, 100, 100, 40, 40,
                                                         40, 40, 40, 40, 40, 40}));
}

// The player's word that the chime is queued comes back through the pump; until the last part
// is queued the announcement holds, and another is dropped, not queued.
TEST_F(AnnouncerTest, AnAnnouncementHoldsUntilItsLastPartIsQueued) {
    options.format = 2;
    voice.Announce(SundayTen(), [this] { return options; });
    EXPECT_EQ(player.Paths(), Paths("提示"));
    EXPECT_TRUE(voice.Announcing());
    voice.Announce(SundayTen(), [this] { return options; });  // a click during the chime
    // A change applied while the chime sounds is heard at once.
    options.format = 0;
    pump.ProcessPendingEvents();
    EXPECT_EQ(player.Paths(), Paths(std::string("提示 ") + kTime));
    EXPECT_FALSE(voice.Announcing());
    EXPECT_EQ(voice.LastAnnouncementEnd(), ClipPlayer::PartEnd::kPlayed);
}

// A sentence the player could not start in time (a stalled sound server) ends with its chime: it
// is never spoken later. With no sound server at all, every part is handed (each asks for the
// server again) and the sentence ends as not played.
TEST_F(AnnouncerTest, AChimeNotPlayedEndsTheSentenceOrReportsNoOutput) {
    const struct {
        ClipPlayer::PartEnd end;
        const char* paths;
    } cases[] = {{ClipPlayer::PartEnd::kDropped, "提示"},
                 {ClipPlayer::PartEnd::kNoOutput, "提示 现在时间 上午 十 点 整"}};
    for (const auto& c : cases) {
        player.end = c.end;
        Announce(SundayTen());
        EXPECT_EQ(player.Paths(), Paths(c.paths));
        EXPECT_FALSE(voice.Announcing());
        EXPECT_EQ(voice.LastAnnouncementEnd(), c.end);
        player.paths.clear();
    }
}

// Quitting in the middle: the player stops, and its answer still on the way is ignored.
TEST_F(AnnouncerTest, StopEndsTheSentenceAndIgnoresLateAnswers) {
    voice.Announce(SundayTen(), [this] { return options; });
    voice.Stop();
    EXPECT_EQ(player.stops, 1);
    EXPECT_FALSE(voice.Announcing());
    pump.ProcessPendingEvents();
    EXPECT_EQ(player.Paths(), Paths("提示"));
}

}  // namespace
}  // namespace horalia
