// Ports of the voice: the platform's clip player and the shell's event pump.
#pragma once

#include <cstdint>
#include <string>

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
};

class EventPump {
  public:
    virtual ~EventPump() = default;
    // Dispatches every event pending on the user-interface thread, then returns.
    virtual void ProcessPendingEvents() = 0;
};

// The platform's player (defined in voice/win32 or voice/linux).
ClipPlayer& SystemClipPlayer();

}  // namespace horalia
