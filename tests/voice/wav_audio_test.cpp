#include "voice/wav_audio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace horalia::audio {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Set16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
    Set16(b, at, static_cast<std::uint16_t>(v & 0xFFFF));
    Set16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

TEST(Wav, EncodeThenParseGivesTheSamples) {
    const Pcm stereo{{44100, 2}, {1, -1, 32767, -32768, 0, 5}};
    const Bytes bytes = EncodeWav(stereo);
    EXPECT_EQ(bytes.size(), 44u + 12u);
    const auto parsed = ParseWav(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->format, stereo.format);
    EXPECT_EQ(parsed->samples, stereo.samples);
    EXPECT_EQ(parsed->Frames(), 3u);
}

TEST(Wav, SkipsOtherChunksAndTakesWholeFramesOfAnOpenDataSize) {
    Bytes bytes = EncodeWav({{8000, 2}, {1, 2, 3, 4}});
    // A LIST chunk of odd size (padded) between "fmt " and "data".
    const Bytes list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    bytes.insert(bytes.begin() + 36, list.begin(), list.end());
    Set32(bytes, 36 + list.size() + 4, 0xFFFFFFFF);  // a streaming writer's open size
    bytes.push_back(9);                              // half a frame at the end
    const auto parsed = ParseWav(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->samples, (std::vector<std::int16_t>{1, 2, 3, 4}));
}

TEST(Wav, DataEndingBeforeItsStatedSizeIsTruncatedButAnOpenSizeIsNot) {
    const Bytes whole = EncodeWav({{8000, 1}, {1, 2, 3, 4}});
    struct Case {
        std::uint32_t statedSize;
        std::size_t keptBytes;
        bool truncated;
    };
    for (const Case c : {Case{8, 48, true}, Case{8, 52, false}, Case{0xFFFFFFFF, 48, false},
                         Case{1000, 52, true}}) {
        Bytes bytes = whole;
        Set32(bytes, 40, c.statedSize);
        bytes.resize(c.keptBytes);
        bool truncated = !c.truncated;
        const auto parsed = ParseWav(bytes, nullptr, &truncated);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(truncated, c.truncated) << c.statedSize << " " << c.keptBytes;
        EXPECT_EQ(parsed->samples.size(), (c.keptBytes - 44) / 2);
    }
}

TEST(Wav, RefusesWhatItCannotPlayAndSaysWhy) {
    const Bytes good = EncodeWav({{22050, 1}, {1, 2}});
    struct Case {
        const char* name;
        std::function<void(Bytes&)> spoil;
    };
    const Case cases[] = {
        {"not a RIFF/WAVE file", [](Bytes& b) { b[0] = 'X'; }},
        {"not 16-bit integer PCM", [](Bytes& b) { Set16(b, 34, 8); }},
        {"not 16-bit integer PCM", [](Bytes& b) { Set16(b, 20, 3); }},  // float
        {"unusable channel count or sample rate", [](Bytes& b) { Set16(b, 22, 0); }},
        {"unusable channel count or sample rate", [](Bytes& b) { Set32(b, 24, 0); }},
        {"broken format chunk", [](Bytes& b) { Set32(b, 16, 0x7FFFFFFF); }},
        {"data before the format chunk", [](Bytes& b) { b[12] = 'x'; }},
        {"no format chunk", [](Bytes& b) { b.resize(12); }},
        {"no data chunk", [](Bytes& b) { b.resize(40); }},
        {"not a RIFF/WAVE file", [](Bytes& b) { b.resize(11); }},
    };
    for (const Case& c : cases) {
        Bytes bytes = good;
        c.spoil(bytes);
        std::string why;
        EXPECT_FALSE(ParseWav(bytes, &why)) << c.name;
        EXPECT_EQ(why, c.name);
    }
}

TEST(MapChannels, CopiesUpAndMixesDown) {
    struct Case {
        int from;
        int to;
        std::vector<std::int16_t> in;
        std::vector<std::int16_t> out;
    };
    const Case cases[] = {
        {1, 2, {5, -7}, {5, 5, -7, -7}},
        {2, 1, {100, 300, -32768, -32768}, {200, -32768}},
        {2, 2, {1, 2}, {1, 2}},
        {2, 3, {1, 2}, {1, 2, 1}},
        {6, 2, {1, 2, 3, 4, 5, 6}, {3, 4}},
        {3, 1, {3, 6, 9, 1, 1}, {6}},  // a partial last frame is dropped
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MapChannels(c.in, c.from, c.to), c.out) << c.from << " to " << c.to;
    }
}

TEST(DefaultTone, LastsItsTimeInEveryChannelAndFadesAtBothEnds) {
    const std::vector<std::int16_t> tone = DefaultTone({16000, 2});
    ASSERT_EQ(tone.size(), 2u * 16000u * kToneDurationMs / 1000u);
    for (std::size_t i = 0; i + 1 < tone.size(); i += 2) {
        ASSERT_EQ(tone[i], tone[i + 1]);
    }
    const auto loudest = *std::max_element(tone.begin(), tone.end());
    EXPECT_GT(loudest, 8000);
    EXPECT_LT(std::abs(tone.front()), 200);
    EXPECT_LT(std::abs(tone.back()), 200);
    EXPECT_EQ(DefaultTone({0, 0}).size(), DefaultTone(kClipFormat).size());
}

TEST(ApplyVolume, ScalesByPercentAndClampsTheSetting) {
    const std::vector<std::int16_t> loud = {32767, -32768, 1000, -3, 0};
    struct Case {
        int percent;
        std::vector<std::int16_t> expected;
    };
    const Case kCases[] = {
        {100, loud},
        {150, loud},
        {50, {16383, -16384, 500, -1, 0}},
        {0, {0, 0, 0, 0, 0}},
        {-20, {0, 0, 0, 0, 0}},
    };
    for (const Case& c : kCases) {
        std::vector<std::int16_t> samples = loud;
        ApplyVolume(samples, c.percent);
        EXPECT_EQ(samples, c.expected) << c.percent;
    }
}

}  // namespace
}  // namespace horalia::audio
