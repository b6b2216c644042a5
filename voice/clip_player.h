// The voice's port: the platform's synchronous clip player.
#pragma once

#include <cstdint>
#include <string>

#include "common/event_pump.h"

namespace horalia {

class ClipPlayer {
  public:
    virtual ~ClipPlayer() = default;
    // Plays the WAV file to its end before returning; a missing or unplayable file plays a short
    // default sound instead. flags is handed to the platform unchanged (always 0 here).
    virtual void Play(const std::string& path, std::int32_t flags) = 0;
};

// The platform's player (defined in voice/win32 or voice/linux).
ClipPlayer& SystemClipPlayer();

}  // namespace horalia
