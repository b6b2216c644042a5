// The seam between the clip player and the sound server: a stream of 16-bit PCM frames.
#pragma once

#include <cstdint>
#include <span>

#include "voice/wav_audio.h"

namespace horalia::linux_audio {

enum class OpenResult {
    kOpened,
    kNoServer,  // nothing to play to; asking again at once would only cost time
    kRefused,   // the server is there but will not take this format
};

class PcmOutput {
  public:
    virtual ~PcmOutput() = default;
    // Opens a stream of native-endian 16-bit frames; an open stream is closed first.
    virtual OpenResult Open(const audio::PcmFormat& format) = 0;
    // Blocks until the samples (whole frames) are queued.
    virtual bool Write(std::span<const std::int16_t> samples) = 0;
    // Blocks until everything queued has been played.
    virtual bool Drain() = 0;
    virtual void Close() = 0;
};

}  // namespace horalia::linux_audio
