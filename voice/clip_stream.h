// One output stream shared by consecutive clips: reopening a stream for every word costs far
// more than the word's own gap, so a stream is reused while the format stays the same. A server
// that could not be reached is asked again at the next Ensure: failing to reach an absent server
// costs milliseconds, and one that came back is heard at once.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "voice/pcm_output.h"
#include "voice/wav_audio.h"

namespace horalia::audio {

class ClipStream {
  public:
    explicit ClipStream(PcmOutput& output);
    ~ClipStream();
    ClipStream(const ClipStream&) = delete;
    ClipStream& operator=(const ClipStream&) = delete;

    // Makes a stream of this format ready: the open one when it matches, a new one otherwise.
    OpenResult Ensure(const PcmFormat& format);
    // A failed write or drain closes the stream, so that the next clip starts on a fresh one.
    bool Write(std::span<const std::int16_t> samples);
    bool Drain();
    void Close();

    const std::optional<PcmFormat>& OpenFormat() const { return open_; }

  private:
    PcmOutput& output_;
    std::optional<PcmFormat> open_;
};

}  // namespace horalia::audio
