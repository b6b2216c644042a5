// The voice's port: the platform's clip player.
#pragma once

#include <cstdint>
#include <string>

#include "common/event_pump.h"

namespace horalia {

class ClipPlayer {
  public:
    virtual ~ClipPlayer() = default;
    // Plays the WAV file and returns when it is about done: a player may queue the next clip
    // behind the tail of this one, so that consecutive clips join without a gap. A missing or
    // unplayable file plays a short default sound instead. flags is handed to the platform
    // unchanged (always 0 here).
    virtual void Play(const std::string& path, std::int32_t flags) = 0;
    // Waits until everything queued has been heard. False when nothing could be played since the
    // last call (or since the start): no sound server or no output device.
    virtual bool Finish() { return true; }
    // The loudness of what is played from now on, 0 (silent) to 100 (the clips as recorded), set
    // in the samples rather than in the system's mixer.
    virtual void SetVolume(std::int32_t /*percent*/) {}
};

// The platform's player (defined in voice/win32 or voice/linux).
ClipPlayer& SystemClipPlayer();

}  // namespace horalia
