#include "voice/linux/pulse_output.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

#include "voice/linux/clip_file.h"
#include "voice/pcm_convert.h"
#include "voice/sentence_player.h"

namespace horalia::linux_audio {
namespace {

// Points the PulseAudio client library at a socket nobody listens on, for one test.
class NoServer : public testing::Test {
  protected:
    void SetUp() override {
        if (const char* old = std::getenv("PULSE_SERVER")) {
            saved_ = old;
        }
        setenv("PULSE_SERVER", "unix:/nonexistent/horalia-test/native", 1);
    }
    void TearDown() override {
        if (saved_) {
            setenv("PULSE_SERVER", saved_->c_str(), 1);
        } else {
            unsetenv("PULSE_SERVER");
        }
    }

  private:
    std::optional<std::string> saved_;
};

TEST_F(NoServer, OpenReportsNoServer) {
    PulseOutput output;
    EXPECT_EQ(output.Open(audio::kClipFormat), audio::OpenResult::kNoServer);
    EXPECT_FALSE(output.Write(audio::DefaultTone(audio::kClipFormat)));
    EXPECT_FALSE(output.Drain());
}

TEST_F(NoServer, AnnouncementOfTenClipsReturnsPromptly) {
    PulseOutput output;
    audio::SentencePlayer player(output, ReadClipFile, audio::ConvertPcm);
    const auto start = std::chrono::steady_clock::now();
    SentencePart part;
    for (int i = 0; i < 10; ++i) {
        part.clips.push_back("/nonexistent/horalia-test/Sound/" + std::to_string(i) + ".wav");
    }
    player.Play(part, {});
    EXPECT_FALSE(player.Finish());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace horalia::linux_audio
