// The Linux clip player: each clip is read with libsndfile and played to its end on a stream
// that stays open while clips follow one another, then is closed once the player falls idle so
// that the sound device can suspend between announcements.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "voice/clip_player.h"
#include "voice/linux/clip_file.h"
#include "voice/linux/clip_stream.h"
#include "voice/linux/pcm_output.h"

namespace horalia::linux_audio {

class PulseClipPlayer final : public ClipPlayer {
  public:
    // Long enough to bridge the pump between two words, short next to the hour between chimes.
    static constexpr std::chrono::milliseconds kIdleClose{2000};

    explicit PulseClipPlayer(PcmOutput& output, std::chrono::milliseconds idleClose = kIdleClose);
    ~PulseClipPlayer() override;
    PulseClipPlayer(const PulseClipPlayer&) = delete;
    PulseClipPlayer& operator=(const PulseClipPlayer&) = delete;

    // flags has no meaning here: every clip is played synchronously.
    void Play(const std::string& path, std::int32_t flags) override;

  private:
    bool PlayFile(ClipFile& file);
    void PlayTone();
    void CloseWhenIdle();

    const std::chrono::milliseconds idleClose_;
    std::mutex mutex_;  // guards stream_ and closeAt_ between Play and the closing thread
    std::condition_variable wake_;
    ClipStream stream_;
    std::optional<std::chrono::steady_clock::time_point> closeAt_;
    bool stopping_ = false;
    std::thread closer_;  // last: starts once everything above exists
};

}  // namespace horalia::linux_audio
