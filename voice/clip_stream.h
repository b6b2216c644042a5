// One output stream shared by consecutive clips: reopening a stream for every word costs far
// more than the word's own gap, so a stream is reused while the format stays the same, and a
// server that could not be reached is left alone for a while instead of being asked per clip.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "voice/pcm_output.h"
#include "voice/wav_audio.h"

namespace horalia::audio {

class ClipStream {
  public:
    using Clock = std::chrono::steady_clock;
    // How long Ensure answers kNoServer without asking after the server was not reached.
    static constexpr std::chrono::seconds kRetryDelay{5};

    explicit ClipStream(PcmOutput& output, std::function<Clock::time_point()> now = Clock::now);
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
    std::function<Clock::time_point()> now_;
    std::optional<PcmFormat> open_;
    std::optional<Clock::time_point> retryAt_;
};

}  // namespace horalia::audio
