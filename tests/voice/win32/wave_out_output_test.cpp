#include "voice/win32/wave_out_output.h"

#include <gtest/gtest.h>

#include "voice/wav_audio.h"

namespace horalia::win32_audio {
namespace {

using audio::OpenResult;

// Plays where the system has a device; an abort ends the stream's writes until it is opened anew.
TEST(WaveOutOutput, PlaysOnADeviceAndAnAbortEndsTheStream) {
    WaveOutOutput output;
    const std::vector<std::int16_t> tone = audio::DefaultTone(audio::kClipFormat);
    if (output.Open(audio::kClipFormat) != OpenResult::kOpened) {
        EXPECT_EQ(waveOutGetNumDevs(), 0u);
        return;
    }
    EXPECT_TRUE(output.Write(tone));
    EXPECT_TRUE(output.Drain());
    output.Abort();
    EXPECT_FALSE(output.Write(tone));
    EXPECT_FALSE(output.Drain());
    ASSERT_EQ(output.Open({48000, 2}), OpenResult::kOpened);
    EXPECT_TRUE(output.Write(audio::DefaultTone({48000, 2})));
    output.Close();
}

}  // namespace
}  // namespace horalia::win32_audio
