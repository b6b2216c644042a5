// The Windows clip player over winmm's waveOut. One device is opened for a sentence and every
// clip is queued on it in short buffers, behind the tail of the one before, so that the words
// join sample to sample; Play returns once only a short tail of its clip is left to sound. A clip
// in another format is converted to the device's (channels mapped, rate changed through the
// system's ACM converter). A clip that cannot be read goes to sndPlaySoundA as before, which
// plays the system's default sound in its place; when that plays nothing either, a short tone
// does. Below full volume the tone stands in directly, since sndPlaySoundA cannot be made
// quieter. The device is closed once the player falls idle.
#pragma once

#include <windows.h>

#include <mmsystem.h>  // after windows.h, whose types it uses

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/win32/handles.h"
#include "voice/clip_player.h"
#include "voice/wav_audio.h"

namespace horalia::win32_audio {

class WinmmClipPlayer final : public ClipPlayer {
  public:
    // Long enough to bridge the pump between two words, short next to the hour between chimes.
    static constexpr std::chrono::milliseconds kIdleClose{2000};
    // Silence queued when the device opens: the first few hundred milliseconds written to a new
    // device can be lost while the audio path starts (Wine's PulseAudio driver does this), and
    // the chime must not lose its attack.
    static constexpr int kLeadMs = 400;
    // Play returns when no more than this of its clip is left to sound: margin enough for the
    // caller's event pump and the next clip's reading, even on a busy machine.
    static constexpr int kAheadMs = 200;

    explicit WinmmClipPlayer(std::chrono::milliseconds idleClose = kIdleClose);
    ~WinmmClipPlayer() override;
    WinmmClipPlayer(const WinmmClipPlayer&) = delete;
    WinmmClipPlayer& operator=(const WinmmClipPlayer&) = delete;

    // flags is handed to sndPlaySoundA for a clip that this player cannot read.
    void Play(const std::string& path, std::int32_t flags) override;
    bool Finish() override;
    void SetVolume(std::int32_t percent) override;

  private:
    struct Buffer {
        WAVEHDR header{};
        std::vector<std::int16_t> samples;
    };

    bool Open(const audio::PcmFormat& format);
    bool Queue(const std::vector<std::int16_t>& samples);
    void PlayUnreadable(const std::string& path, std::int32_t flags);
    void Reap();
    std::size_t PendingFrames() const;
    void WaitUntilPending(std::size_t frames);
    void Close();
    void CloseWhenIdle();

    const std::chrono::milliseconds idleClose_;
    const win32::UniqueKernelHandle bufferDone_;  // set by the device after each buffer
    std::mutex mutex_;  // guards everything below between Play and the closing thread
    std::condition_variable wake_;
    HWAVEOUT device_ = nullptr;
    audio::PcmFormat format_;
    std::deque<std::unique_ptr<Buffer>> queue_;  // a header must stay put while queued
    std::optional<std::chrono::steady_clock::time_point> closeAt_;
    std::int32_t volume_ = 100;  // percent of the clips' own loudness
    bool played_ = false;        // something reached a device since the last Finish
    bool stopping_ = false;
    std::thread closer_;  // last: starts once everything above exists
};

}  // namespace horalia::win32_audio
