// PcmOutput over the PulseAudio simple API (PipeWire's PulseAudio server serves it too).
#pragma once

#include <chrono>

#include "voice/linux/pcm_output.h"

struct pa_simple;

namespace horalia::linux_audio {

class PulseOutput final : public PcmOutput {
  public:
    // The longest wait for a server to answer before it counts as absent.
    static constexpr std::chrono::milliseconds kConnectTimeout{2000};

    PulseOutput() = default;
    ~PulseOutput() override;
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    OpenResult Open(const audio::PcmFormat& format) override;
    bool Write(std::span<const std::int16_t> samples) override;
    bool Drain() override;
    void Close() override;

  private:
    pa_simple* stream_ = nullptr;
};

}  // namespace horalia::linux_audio
