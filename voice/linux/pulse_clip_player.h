// The Linux clip player: each clip is read with libsndfile and written into one stream that stays
// open while clips follow one another. Play returns as soon as the clip's last samples are
// queued, with only the stream's short buffer still to sound, so that the next clip is written
// behind it and the words join sample to sample. A clip of another format is converted to the
// stream's format rather than reopening the stream. The stream is closed once the player falls
// idle, so that the sound device can suspend between announcements.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
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
    // Lets what is queued play out, then closes the stream.
    ~PulseClipPlayer() override;
    PulseClipPlayer(const PulseClipPlayer&) = delete;
    PulseClipPlayer& operator=(const PulseClipPlayer&) = delete;

    // flags has no meaning here.
    void Play(const std::string& path, std::int32_t flags) override;
    bool Finish() override;
    void SetVolume(std::int32_t percent) override;

  private:
    bool PlayFile(ClipFile& file);
    void PlayTone();
    bool Write(std::span<const std::int16_t> samples);
    void CloseWhenIdle();

    const std::chrono::milliseconds idleClose_;
    std::mutex mutex_;  // guards everything below between Play and the closing thread
    std::condition_variable wake_;
    ClipStream stream_;
    std::optional<std::chrono::steady_clock::time_point> closeAt_;
    std::int32_t volume_ = 100;  // percent of the clips' own loudness
    bool played_ = false;        // something reached the server since the last Finish
    bool stopping_ = false;
    std::thread closer_;  // last: starts once everything above exists
};

}  // namespace horalia::linux_audio
