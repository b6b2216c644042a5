// PcmOutput over winmm's waveOut. Samples are queued on the device in short buffers; a write
// returns once no more than a short tail of them is left to sound, so that the next clip is queued
// behind it and the words join sample to sample.
#pragma once

#include <windows.h>

#include <mmsystem.h>  // after windows.h, whose types it uses

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "common/win32/handles.h"
#include "voice/pcm_output.h"

namespace horalia::win32_audio {

class WaveOutOutput final : public audio::PcmOutput {
  public:
    // Silence queued when the device opens: the first few hundred milliseconds written to a new
    // device can be lost while the audio path starts (Wine's PulseAudio driver does this), and
    // the chime must not lose its attack.
    static constexpr int kLeadMs = 400;
    // A write returns when no more than this is left to sound: margin enough for the hand-over
    // of the next part and the reading of its clip, even on a busy machine.
    static constexpr int kAheadMs = 200;

    WaveOutOutput();
    ~WaveOutOutput() override;
    WaveOutOutput(const WaveOutOutput&) = delete;
    WaveOutOutput& operator=(const WaveOutOutput&) = delete;

    audio::OpenResult Open(const audio::PcmFormat& format) override;
    bool Write(std::span<const std::int16_t> samples) override;
    bool Drain() override;
    void Close() override;
    void Abort() override;
    // sndPlaySoundA: the file if the system can play it, its default sound if not.
    bool PlaySystemSound(const std::string& path) override;

  private:
    struct Buffer {
        WAVEHDR header{};
        std::vector<std::int16_t> samples;
    };

    bool Queue(std::span<const std::int16_t> samples);
    void Reap();
    std::size_t PendingFrames() const;
    bool WaitUntilPending(std::size_t frames);

    const win32::UniqueKernelHandle
        bufferDone_;  // set by the device after each buffer, and by Abort
    HWAVEOUT device_ = nullptr;
    audio::PcmFormat format_;
    std::deque<std::unique_ptr<Buffer>> queue_;  // a header must stay put while queued
    std::atomic<bool> aborted_ = false;
};

}  // namespace horalia::win32_audio
