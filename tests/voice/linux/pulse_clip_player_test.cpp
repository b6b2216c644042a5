#include "voice/linux/pulse_clip_player.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fakes/fake_pcm_output.h"
#include "voice/linux/clip_file.h"
#include "voice/wav_audio.h"

namespace horalia::linux_audio {
namespace {

namespace fs = std::filesystem;
using fakes::FakePcmOutput;
using testing::ElementsAre;

// Keeps the idle close out of tests that check every call, however slow the machine.
constexpr std::chrono::milliseconds kNoIdleClose = std::chrono::hours(1);

// A clip whose every sample differs from its neighbours, so a lost or repeated chunk shows.
audio::Pcm Ramp(audio::PcmFormat format, std::size_t frames) {
    audio::Pcm pcm{format, {}};
    for (std::size_t i = 0; i < frames * static_cast<std::size_t>(format.channels); ++i) {
        pcm.samples.push_back(static_cast<std::int16_t>(i % 30000));
    }
    return pcm;
}

std::vector<std::int16_t> Concat(const std::vector<std::int16_t>& a,
                                 const std::vector<std::int16_t>& b) {
    std::vector<std::int16_t> both = a;
    both.insert(both.end(), b.begin(), b.end());
    return both;
}

long Count(const std::vector<std::string>& log, const std::string& prefix) {
    return std::count_if(log.begin(), log.end(),
                         [&](const std::string& entry) { return entry.starts_with(prefix); });
}

class PulseClipPlayerTest : public testing::Test {
  protected:
    void SetUp() override {
        // A parameterised test's name holds a '/': one folder level, removed whole.
        std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(test.begin(), test.end(), '/', '-');
        folder = fs::temp_directory_path() /
                 ("horalia-player-" + std::to_string(::getpid()) + "-" + test);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }
    std::string WriteClip(const std::string& name, const audio::Pcm& pcm) {
        return WriteBytes(name, audio::EncodeWav(pcm));
    }

    fs::path folder;
    FakePcmOutput output;
};

TEST_F(PulseClipPlayerTest, ClipsAreQueuedBackToBackOnOneStreamDrainedOnlyAtTheEnd) {
    const audio::Pcm first = Ramp(audio::kClipFormat, 10000);  // more than one chunk
    const audio::Pcm second = Ramp(audio::kClipFormat, 300);
    const std::string a = WriteClip("一.wav", first);
    const std::string b = WriteClip("二.wav", second);
    {
        PulseClipPlayer player(output, kNoIdleClose);
        player.Play(a, 0);
        player.Play(b, 0);
        EXPECT_TRUE(player.Finish());
        EXPECT_FALSE(player.Finish());  // nothing played since the last call
    }
    EXPECT_THAT(output.Log(), ElementsAre("open 22050/1", "write 4096", "write 4096", "write 1808",
                                          "write 300", "drain", "drain", "drain", "close"));
    EXPECT_EQ(output.Written(), Concat(first.samples, second.samples));
}

TEST_F(PulseClipPlayerTest, ClipOfAnotherFormatIsConvertedIntoTheOpenStream) {
    const std::string stereo48 = WriteClip("stereo.wav", Ramp({48000, 2}, 100));
    const std::string mono22 = WriteClip("mono.wav", Ramp(audio::kClipFormat, 2205));
    PulseClipPlayer player(output, kNoIdleClose);
    player.Play(stereo48, 0);
    output.Clear();
    player.Play(mono22, 0);
    ASSERT_EQ(Count(output.Log(), "open") + Count(output.Log(), "close"), 0);
    EXPECT_NEAR(static_cast<double>(output.Written().size()), 2 * 4800, 4);
}

struct BadFile {
    const char* name;
    std::optional<std::vector<std::uint8_t>> bytes;  // nothing: the path does not exist
};

class UnplayableClip : public PulseClipPlayerTest, public testing::WithParamInterface<BadFile> {};

TEST_P(UnplayableClip, PlaysTheDefaultTone) {
    std::string path = (folder / "五.wav").string();
    if (GetParam().bytes) {
        path = WriteBytes("五.wav", *GetParam().bytes);
    }
    {
        PulseClipPlayer player(output, kNoIdleClose);
        player.Play(path, 0);
    }
    const std::vector<std::int16_t> tone = audio::DefaultTone(audio::kClipFormat);
    EXPECT_THAT(output.Log(), ElementsAre("open 22050/1", "write " + std::to_string(tone.size()),
                                          "drain", "close"));
    EXPECT_EQ(output.Written(), tone);
}

std::vector<std::uint8_t> NoFrames() {
    return audio::EncodeWav({audio::kClipFormat, {}});
}
std::vector<std::uint8_t> HeaderOnly() {
    std::vector<std::uint8_t> bytes = audio::EncodeWav(Ramp(audio::kClipFormat, 100));
    bytes.resize(20);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Cases, UnplayableClip,
                         testing::Values(BadFile{"Missing", std::nullopt},
                                         BadFile{"NotSound", {{'h', 'e', 'l', 'l', 'o'}}},
                                         BadFile{"Empty", {{}}}, BadFile{"NoFrames", NoFrames()},
                                         BadFile{"TruncatedHeader", HeaderOnly()}),
                         [](const auto& info) { return info.param.name; });

TEST_F(PulseClipPlayerTest, DirectoryPlaysTheDefaultTone) {
    PulseClipPlayer player(output, kNoIdleClose);
    player.Play(folder.string(), 0);
    EXPECT_EQ(output.Written(), audio::DefaultTone(audio::kClipFormat));
}

TEST_F(PulseClipPlayerTest, MissingClipPlaysTheToneInTheOpenStreamsFormat) {
    const std::string stereo = WriteClip("stereo.wav", Ramp({44100, 2}, 100));
    PulseClipPlayer player(output, kNoIdleClose);
    player.Play(stereo, 0);
    output.Clear();
    player.Play((folder / "missing.wav").string(), 0);
    const std::vector<std::int16_t> tone = audio::DefaultTone({44100, 2});
    EXPECT_THAT(output.Log(), ElementsAre("write " + std::to_string(tone.size())));
    EXPECT_EQ(output.Written(), tone);
}

TEST_F(PulseClipPlayerTest, WithoutServerPlayReturnsAndDoesNotAskAgainAtOnce) {
    const std::string clip = WriteClip("一.wav", Ramp(audio::kClipFormat, 100));
    output.QueueOpenResult(OpenResult::kNoServer);
    PulseClipPlayer player(output, kNoIdleClose);
    for (int i = 0; i < 10; ++i) {
        player.Play(i % 2 == 0 ? clip : (folder / "missing.wav").string(), 0);
    }
    EXPECT_THAT(output.Log(), ElementsAre("open 22050/1"));
    EXPECT_TRUE(output.Written().empty());
    EXPECT_FALSE(player.Finish());
}

TEST_F(PulseClipPlayerTest, RefusedFormatPlaysTheToneInTheClipFormat) {
    const std::string stereo = WriteClip("stereo.wav", Ramp({44100, 2}, 100));
    output.QueueOpenResult(OpenResult::kRefused);
    PulseClipPlayer player(output, kNoIdleClose);
    player.Play(stereo, 0);
    const std::vector<std::int16_t> tone = audio::DefaultTone(audio::kClipFormat);
    EXPECT_THAT(output.Log(), ElementsAre("open 44100/2", "open 22050/1",
                                          "write " + std::to_string(tone.size())));
    EXPECT_EQ(output.Written(), tone);
}

TEST_F(PulseClipPlayerTest, FailedWriteAbandonsTheClipAndTheNextClipReopens) {
    const std::string clip = WriteClip("一.wav", Ramp(audio::kClipFormat, 10000));
    PulseClipPlayer player(output, kNoIdleClose);
    output.FailWrites(true);
    player.Play(clip, 0);
    output.FailWrites(false);
    player.Play(clip, 0);
    EXPECT_THAT(output.Log(), ElementsAre("open 22050/1", "write 4096", "close", "open 22050/1",
                                          "write 4096", "write 4096", "write 1808"));
}

TEST_F(PulseClipPlayerTest, FloatingPointClipIsPlayedAs16BitAndClipped) {
    const std::string path = (folder / "float.wav").string();
    SF_INFO info{};
    info.samplerate = 16000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    const float samples[] = {0.0f, 0.5f, -0.5f, 1.5f, -1.5f, NAN, INFINITY};
    ASSERT_EQ(sf_writef_float(file, samples, 7), 7);
    sf_close(file);

    PulseClipPlayer player(output, kNoIdleClose);
    player.Play(path, 0);
    EXPECT_EQ(output.Log().front(), "open 16000/1");
    const std::vector<std::int16_t> written = output.Written();
    // Scaled to full range, clipped rather than wrapped, NaN silenced.
    EXPECT_THAT(written, ElementsAre(0, 16384, -16384, 32767, -32768, 0, 32767));
}

TEST_F(PulseClipPlayerTest, IdleStreamIsClosedAndReopenedForTheNextClip) {
    const std::string clip = WriteClip("一.wav", Ramp(audio::kClipFormat, 100));
    PulseClipPlayer player(output, std::chrono::milliseconds(10));
    player.Play(clip, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Count(output.Log(), "close") == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    player.Play(clip, 0);
    const std::vector<std::string> log = output.Log();
    EXPECT_THAT(std::vector<std::string>(log.begin(), log.begin() + 5),
                ElementsAre("open 22050/1", "write 100", "drain", "close", "open 22050/1"));
}

struct FormatCase {
    int rate;
    int channels;
    bool playable;
};

class PlayableFormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(PlayableFormatTest, AcceptsWhatAStreamCarries) {
    const FormatCase c = GetParam();
    const std::optional<audio::PcmFormat> format = PlayableFormat(c.rate, c.channels);
    ASSERT_EQ(format.has_value(), c.playable);
    if (format) {
        EXPECT_EQ(*format, (audio::PcmFormat{c.rate, c.channels}));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PlayableFormatTest,
                         testing::Values(FormatCase{22050, 1, true}, FormatCase{8000, 2, true},
                                         FormatCase{384000, 32, true}, FormatCase{0, 1, false},
                                         FormatCase{-44100, 1, false}, FormatCase{22050, 0, false},
                                         FormatCase{22050, 33, false},
                                         FormatCase{384001, 1, false}));

}  // namespace
}  // namespace horalia::linux_audio
