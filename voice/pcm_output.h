// The seam between the clip player and the platform's sound output: a stream of 16-bit PCM frames.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "voice/wav_audio.h"

namespace horalia::audio {

enum class OpenResult {
    kOpened,
    kNoServer,  // nothing to play to; asking again at once would only cost time
    kRefused,   // the server or device is there but will not take this format
};

// Used from the player's thread only, except Abort.
class PcmOutput {
  public:
    virtual ~PcmOutput() = default;
    // Opens a stream of native-endian 16-bit frames; an open stream is closed first.
    virtual OpenResult Open(const PcmFormat& format) = 0;
    // Queues the samples (whole frames), blocking while the stream's short buffer is full, so
    // that only that buffer is left to sound when it returns. False when the stream failed or
    // was aborted.
    virtual bool Write(std::span<const std::int16_t> samples) = 0;
    // Blocks until everything queued has been played. False when the stream failed or was
    // aborted.
    virtual bool Drain() = 0;
    virtual void Close() = 0;
    // From any thread: a Write or Drain under way, and every one after it until the next Open,
    // returns false at once, and what is queued is not played.
    virtual void Abort() = 0;
    // The system's own sound for a clip the player cannot read (Windows plays the file if it can,
    // its default sound if not), after what is queued has sounded. False when the platform has
    // none; the player's tone stands in then.
    virtual bool PlaySystemSound(const std::string& /*path*/) { return false; }
};

}  // namespace horalia::audio
