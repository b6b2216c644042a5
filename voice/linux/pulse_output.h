// PcmOutput over PulseAudio's asynchronous API on a threaded main loop (PipeWire's PulseAudio
// server serves it too), so that a write stuck on a stalled server can be aborted.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>

#include "voice/pcm_output.h"

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;

namespace horalia::linux_audio {

class PulseOutput final : public audio::PcmOutput {
  public:
    // The longest wait for a server, or a stream, to answer before it counts as absent.
    static constexpr std::chrono::milliseconds kConnectTimeout{2000};

    PulseOutput() = default;
    ~PulseOutput() override;
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    audio::OpenResult Open(const audio::PcmFormat& format) override;
    bool Write(std::span<const std::int16_t> samples) override;
    bool Drain() override;
    void Close() override;
    void Abort() override;

  private:
    // With the loop locked: true once `ready` holds, false when `failed` does, the time is up
    // or the output is aborted.
    template <typename Ready, typename Failed>
    bool WaitUntil(Ready ready, Failed failed);
    audio::OpenResult Connect(const audio::PcmFormat& format);

    std::mutex loopMutex_;  // Abort against Open and Close: the loop exists while it is held
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    std::size_t frameBytes_ = 2;
    std::atomic<bool> aborted_ = false;
};

}  // namespace horalia::linux_audio
