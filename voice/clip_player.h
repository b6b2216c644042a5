// The voice's port: the clip player, which plays on a thread of its own so that the
// user-interface thread never waits for the sound.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace horalia {

// Clips in speaking order, and the loudness they are played at: 0 (silent) to 100 (the clips as
// recorded), set in the samples rather than in the system's mixer.
struct SentencePart {
    std::vector<std::string> clips;
    std::int32_t volume = 100;
};

class ClipPlayer {
  public:
    // What became of a part: played (a missing or unplayable clip as the default sound),
    // dropped because the sound output did not take it in time or the player was stopped, or
    // not played because no sound server or output device could be opened for it.
    enum class PartEnd { kPlayed, kDropped, kNoOutput };
    using PartQueued = std::function<void(PartEnd)>;

    virtual ~ClipPlayer() = default;
    // Returns at once. The clips are played behind whatever is still sounding, and `queued` is
    // called, on the player's thread, once the last clip is written up to its tail: the moment to
    // hand the next part for the words to join without a gap.
    virtual void Play(SentencePart part, PartQueued queued) = 0;
    // Waits until everything handed has been heard. False when nothing could be played since the
    // last call (or since the start): no sound server or no output device.
    virtual bool Finish() = 0;
    // Silences what sounds and drops what is handed; no `queued` runs once this returns.
    virtual void Stop() = 0;
};

// The platform's player (defined in voice/win32 or voice/linux).
ClipPlayer& SystemClipPlayer();

}  // namespace horalia
