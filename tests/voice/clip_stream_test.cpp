#include "voice/clip_stream.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_pcm_output.h"

namespace horalia::audio {
namespace {

using fakes::FakePcmOutput;
using testing::ElementsAre;
using testing::ElementsAreArray;

constexpr PcmFormat kMono22{22050, 1};
constexpr PcmFormat kStereo22{22050, 2};
constexpr PcmFormat kStereo44{44100, 2};

struct ReuseCase {
    const char* name;
    std::vector<PcmFormat> formats;
    std::vector<std::string> log;
};

class ClipStreamReuse : public testing::TestWithParam<ReuseCase> {};

TEST_P(ClipStreamReuse, OpensOnlyWhenTheFormatChanges) {
    FakePcmOutput output;
    ClipStream stream(output);
    for (const PcmFormat& format : GetParam().formats) {
        EXPECT_EQ(stream.Ensure(format), OpenResult::kOpened);
        EXPECT_EQ(stream.OpenFormat(), format);
    }
    EXPECT_THAT(output.Log(), ElementsAreArray(GetParam().log));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipStreamReuse,
    testing::Values(
        ReuseCase{"SameFormat", {kMono22, kMono22, kMono22}, {"open 22050/1"}},
        ReuseCase{"RateAndChannels",
                  {kMono22, kStereo44, kStereo44, kMono22},
                  {"open 22050/1", "close", "open 44100/2", "close", "open 22050/1"}},
        ReuseCase{"ChannelsOnly", {kMono22, kStereo22}, {"open 22050/1", "close", "open 22050/2"}}),
    [](const auto& info) { return info.param.name; });

class ClipStreamTest : public testing::Test {
  protected:
    FakePcmOutput output;
    ClipStream stream{output};
    const std::vector<std::int16_t> samples{1, 2, 3};
};

// A sound server that was restarted is heard at the very next clip: no wait after a failure.
TEST_F(ClipStreamTest, UnreachableServerIsAskedAgainAtTheNextClip) {
    output.QueueOpenResult(OpenResult::kNoServer);
    EXPECT_EQ(stream.Ensure(kMono22), OpenResult::kNoServer);
    EXPECT_FALSE(stream.Write(samples));
    EXPECT_FALSE(stream.Drain());
    EXPECT_EQ(stream.Ensure(kMono22), OpenResult::kOpened);
    EXPECT_THAT(output.Log(), ElementsAre("open 22050/1", "open 22050/1"));
}

TEST_F(ClipStreamTest, RefusedFormatDoesNotHoldOffTheNextOpen) {
    output.QueueOpenResult(OpenResult::kRefused);
    EXPECT_EQ(stream.Ensure(kStereo44), OpenResult::kRefused);
    EXPECT_EQ(stream.OpenFormat(), std::nullopt);
    EXPECT_EQ(stream.Ensure(kMono22), OpenResult::kOpened);
    EXPECT_THAT(output.Log(), ElementsAre("open 44100/2", "open 22050/1"));
}

TEST_F(ClipStreamTest, FailedWriteOrDrainClosesSoTheNextClipReopens) {
    ASSERT_EQ(stream.Ensure(kMono22), OpenResult::kOpened);
    output.FailWrites(true);
    EXPECT_FALSE(stream.Write(samples));
    EXPECT_EQ(stream.OpenFormat(), std::nullopt);
    output.FailWrites(false);

    ASSERT_EQ(stream.Ensure(kMono22), OpenResult::kOpened);
    EXPECT_TRUE(stream.Write(samples));
    output.FailDrains(true);
    EXPECT_FALSE(stream.Drain());
    ASSERT_EQ(stream.Ensure(kMono22), OpenResult::kOpened);

    EXPECT_THAT(output.Log(), ElementsAre("open 22050/1", "write 3", "close", "open 22050/1",
                                          "write 3", "drain", "close", "open 22050/1"));
}

TEST(ClipStream, ClosesOnceAndOnDestruction) {
    FakePcmOutput output;
    {
        ClipStream stream(output);
        stream.Close();
        ASSERT_EQ(stream.Ensure(kMono22), OpenResult::kOpened);
        stream.Close();
        stream.Close();
        ASSERT_EQ(stream.Ensure(kMono22), OpenResult::kOpened);
    }
    EXPECT_THAT(output.Log(), ElementsAre("open 22050/1", "close", "open 22050/1", "close"));
}

}  // namespace
}  // namespace horalia::audio
