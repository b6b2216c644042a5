#include "tools/say/render.h"

#include <gtest/gtest.h>

#include <map>

namespace horalia::say {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Wav(int sampleRate, std::vector<std::int16_t> samples) {
    return audio::EncodeWav({{sampleRate, 1}, std::move(samples)});
}

FileReader ReaderOf(std::map<std::string, Bytes> files) {
    return [files = std::move(files)](const std::string& path) -> std::optional<Bytes> {
        const auto found = files.find(path);
        if (found == files.end()) {
            return std::nullopt;
        }
        return found->second;
    };
}

TEST(RenderClips, JoinsClipsWithoutGaps) {
    const Rendering r =
        RenderClips({"a", "b", "a"}, ReaderOf({{"a", Wav(16000, {1, 2})}, {"b", Wav(16000, {3})}}));
    ASSERT_TRUE(r.Ok());
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_EQ(r.pcm.format.sampleRate, 16000);
    EXPECT_EQ(r.pcm.samples, (std::vector<std::int16_t>{1, 2, 3, 1, 2}));
}

TEST(RenderClips, ReplacesMissingAndBrokenClipsByTheToneAndWarnsOfATruncatedOne) {
    Bytes truncated = Wav(8000, {8, 9, 10});
    truncated.resize(truncated.size() - 2);  // the header still counts three samples
    const Rendering r = RenderClips(
        {"missing", "a", "broken", "cut"},
        ReaderOf({{"a", Wav(8000, {7})}, {"broken", Bytes(50, 0)}, {"cut", truncated}}));
    ASSERT_TRUE(r.Ok());
    ASSERT_EQ(r.warnings.size(), 3u);
    EXPECT_NE(r.warnings[0].find("missing"), std::string::npos);
    EXPECT_NE(r.warnings[1].find("broken"), std::string::npos);
    EXPECT_NE(r.warnings[2].find("cut: truncated"), std::string::npos);
    const std::vector<std::int16_t> tone = audio::DefaultTone({8000, 1});
    ASSERT_EQ(r.pcm.samples.size(), 2 * tone.size() + 3);
    EXPECT_EQ(r.pcm.samples[tone.size()], 7);
    EXPECT_EQ(r.pcm.samples.back(), 9);
}

TEST(RenderClips, WithNoReadableClipUsesTheShippedFormat) {
    const Rendering r = RenderClips({"x"}, ReaderOf({}));
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.pcm.format, audio::kClipFormat);
    EXPECT_EQ(r.pcm.samples, audio::DefaultTone(audio::kClipFormat));
}

TEST(RenderClips, RefusesClipsOfDifferentFormats) {
    const Rendering r =
        RenderClips({"a", "b"}, ReaderOf({{"a", Wav(8000, {1})}, {"b", Wav(22050, {1})}}));
    EXPECT_FALSE(r.Ok());
    EXPECT_NE(r.error.find("b"), std::string::npos);
    EXPECT_TRUE(r.pcm.samples.empty());
}

}  // namespace
}  // namespace horalia::say
