// The Windows clip player: winmm's sndPlaySoundA, which with flags 0 plays the file to its end
// and plays the system's default sound when the file cannot be found or played.
#include <windows.h>

#include <mmsystem.h>  // after windows.h, whose types it uses

#include "common/win32/ansi_text.h"
#include "voice/clip_player.h"

namespace horalia {
namespace {

class WinmmClipPlayer final : public ClipPlayer {
  public:
    void Play(const std::string& path, std::int32_t flags) override {
        const std::string ansiPath = win32::Utf8ToAnsi(path);
        sndPlaySoundA(ansiPath.c_str(), static_cast<UINT>(flags));
    }
};

}  // namespace

ClipPlayer& SystemClipPlayer() {
    static WinmmClipPlayer player;
    return player;
}

}  // namespace horalia
