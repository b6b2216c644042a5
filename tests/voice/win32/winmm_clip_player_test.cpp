#include <gtest/gtest.h>

#include <chrono>

#include "voice/clip_player.h"

namespace horalia {
namespace {

// sndPlaySoundA falls back to the default sound for a missing file; either way it must return.
TEST(WinmmClipPlayer, MissingFileReturns) {
    const auto start = std::chrono::steady_clock::now();
    SystemClipPlayer().Play("C:\\nonexistent\\Horalia\\Sound\\五.wav", 0);
    SystemClipPlayer().Play("", 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace horalia
