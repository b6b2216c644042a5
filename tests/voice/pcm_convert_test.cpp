#include "voice/pcm_convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace horalia::audio {
namespace {

struct ConvertCase {
    PcmFormat from;
    PcmFormat to;
};

// A 500 Hz sine in every channel, scaled by the channel's number (1, 2, ...).
Pcm Sine(const PcmFormat& format, std::size_t frames) {
    Pcm pcm{format, {}};
    for (std::size_t i = 0; i < frames; ++i) {
        const double value =
            4000 * std::sin(2 * std::numbers::pi * 500 * double(i) / format.sampleRate);
        for (int c = 1; c <= format.channels; ++c) {
            pcm.samples.push_back(static_cast<std::int16_t>(std::lround(value * c)));
        }
    }
    return pcm;
}

// Rate conversion keeps duration, pitch and level; channels are mapped as MapChannels does.
TEST(ConvertPcm, KeepsDurationPitchAndLevel) {
    const ConvertCase cases[] = {
        {{22050, 1}, {48000, 2}},
        {{44100, 2}, {22050, 1}},
        {{48000, 2}, {44100, 2}},
        {{22050, 1}, {22050, 2}},
    };
    for (const ConvertCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.from.sampleRate) + "/" + std::to_string(c.from.channels) +
                     " to " + std::to_string(c.to.sampleRate) + "/" +
                     std::to_string(c.to.channels));
        const std::size_t frames = static_cast<std::size_t>(c.from.sampleRate) / 5;  // 200 ms
        const auto converted = ConvertPcm(Sine(c.from, frames), c.to);
        ASSERT_TRUE(converted);
        const auto channels = static_cast<std::size_t>(c.to.channels);
        const std::size_t outFrames = converted->size() / channels;
        EXPECT_NEAR(double(outFrames), c.to.sampleRate / 5.0, c.to.sampleRate / 500.0);
        // Over the middle 100 ms: 50 periods, so about 100 sign changes, in the first channel.
        const std::size_t begin = outFrames / 4;
        const std::size_t end = begin + static_cast<std::size_t>(c.to.sampleRate) / 10;
        int crossings = 0;
        double peak = 0;
        for (std::size_t f = begin; f + 1 < end; ++f) {
            const double a = (*converted)[f * channels];
            const double b = (*converted)[(f + 1) * channels];
            crossings += (a < 0) != (b < 0) ? 1 : 0;
            peak = std::max(peak, std::abs(a));
        }
        EXPECT_NEAR(crossings, 100, 3);
        // Mono from stereo is the mean of 1x and 2x; stereo from mono copies 1x.
        const double expectedPeak = c.to.channels < c.from.channels ? 6000 : 4000;
        EXPECT_NEAR(peak, expectedPeak, expectedPeak * 0.05);
    }
}

}  // namespace
}  // namespace horalia::audio
