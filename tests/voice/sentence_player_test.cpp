#include "voice/sentence_player.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fakes/fake_pcm_output.h"
#include "voice/pcm_convert.h"

namespace horalia::audio {
namespace {

using fakes::FakePcmOutput;
using PartEnd = ClipPlayer::PartEnd;
using namespace std::chrono_literals;

// Keeps the idle close out of tests that check every call, however slow the machine.
constexpr auto kNoIdleClose = std::chrono::hours(1);

// A clip whose every sample differs from its neighbours, so a lost or repeated chunk shows.
Pcm Ramp(PcmFormat format, std::size_t frames, int start = 0) {
    Pcm pcm{format, {}};
    for (std::size_t i = 0; i < frames * static_cast<std::size_t>(format.channels); ++i) {
        pcm.samples.push_back(static_cast<std::int16_t>((start + static_cast<int>(i)) % 30000));
    }
    return pcm;
}

// The ends of the parts, as the player reports them from its thread.
class Ends {
  public:
    ClipPlayer::PartQueued Next() {
        return [this](PartEnd end) {
            std::lock_guard lock(mutex_);
            ends_.push_back(end);
            changed_.notify_all();
        };
    }
    std::vector<PartEnd> WaitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, 20s, [&] { return ends_.size() >= count; });
        return ends_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<PartEnd> ends_;
};

class SentencePlayerTest : public testing::Test {
  protected:
    std::optional<Pcm> Read(const std::string& path) {
        const auto found = clips.find(path);
        return found == clips.end() ? std::nullopt : std::optional<Pcm>(found->second);
    }
    ClipReader Reader() {
        return [this](const std::string& path) { return Read(path); };
    }

    std::map<std::string, Pcm> clips{{"a", Ramp(kClipFormat, 5000)},
                                     {"b", Ramp(kClipFormat, 3000, 7)},
                                     {"stereo48", Ramp({48000, 2}, 4800)}};
    FakePcmOutput output;
    Ends ends;
};

TEST_F(SentencePlayerTest, PartsJoinOnOneStreamDrainedOnlyWhenFinished) {
    SentencePlayer player(output, Reader(), ConvertPcm, kNoIdleClose);
    player.Play({{"a"}}, ends.Next());
    player.Play({{"b", "stereo48"}}, ends.Next());
    EXPECT_THAT(ends.WaitFor(2), testing::ElementsAre(PartEnd::kPlayed, PartEnd::kPlayed));
    EXPECT_TRUE(player.Finish());
    EXPECT_FALSE(player.Finish());  // nothing played since

    const std::vector<std::string> log = output.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "open 22050/1"), 1) << testing::PrintToString(log);
    EXPECT_EQ(std::count(log.begin(), log.end(), "drain"), 2);  // one per Finish, none between
    const std::vector<std::int16_t> written = output.Written();
    std::vector<std::int16_t> ab = clips["a"].samples;
    ab.insert(ab.end(), clips["b"].samples.begin(), clips["b"].samples.end());
    ASSERT_GT(written.size(), ab.size());  // the 48 kHz stereo clip converted behind them
    EXPECT_TRUE(std::equal(ab.begin(), ab.end(), written.begin()));
}

TEST_F(SentencePlayerTest, AClipThatCannotBeReadSoundsAsTheToneAtTheVolume) {
    SentencePlayer player(output, Reader(), ConvertPcm, kNoIdleClose);
    player.Play({{"missing"}, 50}, ends.Next());
    ends.WaitFor(1);
    std::vector<std::int16_t> tone = DefaultTone(kClipFormat);
    ApplyVolume(tone, 50);
    EXPECT_EQ(output.Written(), tone);
}

// A suspended sink takes the first samples and then nothing: the part is given up once the write
// has hung for the limit, the next part waiting behind it too, and the stream opened anew for
// the next sentence.
TEST_F(SentencePlayerTest, AStalledOutputDropsTheSentenceInsteadOfSpeakingItLate) {
    SentencePlayer player(output, Reader(), ConvertPcm, kNoIdleClose, 300ms);
    output.Stall(true);
    player.Play({{"a"}}, ends.Next());
    player.Play({{"b"}}, ends.Next());
    EXPECT_THAT(ends.WaitFor(2), testing::ElementsAre(PartEnd::kDropped, PartEnd::kDropped));
    output.Stall(false);
    player.Play({{"b"}}, ends.Next());
    EXPECT_EQ(ends.WaitFor(3).back(), PartEnd::kPlayed);
    EXPECT_EQ(output.Written(), clips["b"].samples);
    const std::vector<std::string> log = output.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "abort"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "open 22050/1"), 2);
}

// With no sound server the part ends at its first clip as not played, and the next part asks for
// the server again at once: one restarted meanwhile is heard.
TEST_F(SentencePlayerTest, NoServerEndsThePartAndTheNextPartAsksAgain) {
    SentencePlayer player(output, Reader(), ConvertPcm, kNoIdleClose);
    output.QueueOpenResult(OpenResult::kNoServer);
    player.Play({{"a", "missing", "b"}}, ends.Next());
    EXPECT_THAT(ends.WaitFor(1), testing::ElementsAre(PartEnd::kNoOutput));
    EXPECT_FALSE(player.Finish());
    player.Play({{"b"}}, ends.Next());
    EXPECT_EQ(ends.WaitFor(2).back(), PartEnd::kPlayed);
    EXPECT_TRUE(player.Finish());
    EXPECT_EQ(output.Written(), clips["b"].samples);
    const std::vector<std::string> log = output.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "open 22050/1"), 2) << testing::PrintToString(log);
}

TEST_F(SentencePlayerTest, StopSilencesAtOnceAndCallsNothingBack) {
    SentencePlayer player(output, Reader(), ConvertPcm, kNoIdleClose);
    output.Stall(true);
    bool called = false;
    player.Play({{"a"}}, [&](PartEnd) { called = true; });
    while (output.Log().size() < 2) {
        std::this_thread::sleep_for(1ms);  // until the write hangs
    }
    player.Stop();
    EXPECT_FALSE(called);
    const std::vector<std::string> log = output.Log();  // the stream is closed, its sound dropped
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "abort");
    EXPECT_EQ(log.back(), "close");
}

TEST_F(SentencePlayerTest, AnIdleStreamIsClosed) {
    SentencePlayer player(output, Reader(), ConvertPcm, 50ms);
    player.Play({{"a"}}, ends.Next());
    ends.WaitFor(1);
    for (int i = 0; i < 2000 && output.Log().back() != "close"; ++i) {
        std::this_thread::sleep_for(5ms);
    }
    const std::vector<std::string> log = output.Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "drain");
    EXPECT_EQ(log.back(), "close");
}

}  // namespace
}  // namespace horalia::audio
