#include "voice/win32/winmm_clip_player.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <mmsystem.h>  // after windows.h, whose types it uses

#include <filesystem>
#include <fstream>

#include "common/utf8_path.h"
#include "voice/wav_audio.h"

namespace horalia::win32_audio {
namespace {

namespace fs = std::filesystem;

std::string WriteClip(const fs::path& path, const audio::PcmFormat& format) {
    const std::vector<std::uint8_t> bytes = audio::EncodeWav({format, audio::DefaultTone(format)});
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return PathToUtf8(path);
}

// A clip, a clip of another format, a missing file and an empty path: every call returns, and
// Finish tells whether sound reached a device, which it can only when there is one.
TEST(WinmmClipPlayer, MixedSentenceReturnsAndFinishTellsWhetherADeviceTookIt) {
    const fs::path folder = fs::temp_directory_path() / L"horalia-winmm-player";
    fs::create_directories(folder);
    {
        WinmmClipPlayer player;
        player.Play(WriteClip(folder / L"一.wav", audio::kClipFormat), 0);
        player.Play(WriteClip(folder / L"二.wav", {48000, 2}), 0);
        player.Play(PathToUtf8(folder / L"五.wav"), 0);
        player.Play("", 0);
        EXPECT_EQ(player.Finish(), waveOutGetNumDevs() > 0);
        EXPECT_FALSE(player.Finish());  // nothing since the last call
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace horalia::win32_audio
