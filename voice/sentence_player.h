// The clip player of both platforms. One thread of its own writes the clips of each part into one
// stream of the platform's output, back to back, so that the words join sample to sample while
// the user-interface thread goes on. It holds every decision about the sound: the loudness, the
// tone in place of a clip that cannot be played, keeping the stream's format and converting a
// clip of another, closing the stream once idle, and giving up on an output that stalls, so that
// nothing is ever spoken late.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "voice/clip_player.h"
#include "voice/clip_stream.h"
#include "voice/pcm_output.h"
#include "voice/wav_audio.h"

namespace horalia::audio {

// Reads a clip file into samples; nothing when it cannot be read.
using ClipReader = std::function<std::optional<Pcm>(const std::string& path)>;
// The platform's rate and channel conversion (ConvertPcm).
using PcmConverter =
    std::function<std::optional<std::vector<std::int16_t>>(const Pcm& pcm, const PcmFormat& to)>;

class SentencePlayer final : public ClipPlayer {
  public:
    using Clock = std::chrono::steady_clock;
    // Long enough to bridge the hand-over between two parts, short next to the hour between
    // chimes, so that the sound device can suspend between announcements.
    static constexpr std::chrono::milliseconds kIdleClose{2000};
    // An output that takes longer than this over one write has stalled (a suspended sink): the
    // part is dropped. So is a part that has waited this long to begin.
    static constexpr std::chrono::milliseconds kLateLimit{2000};

    SentencePlayer(PcmOutput& output, ClipReader read, PcmConverter convert,
                   std::chrono::milliseconds idleClose = kIdleClose,
                   std::chrono::milliseconds lateLimit = kLateLimit);
    // Stops, then ends both threads.
    ~SentencePlayer() override;
    SentencePlayer(const SentencePlayer&) = delete;
    SentencePlayer& operator=(const SentencePlayer&) = delete;

    void Play(SentencePart part, PartQueued queued) override;
    bool Finish() override;
    void Stop() override;

  private:
    struct Job {
        SentencePart part;
        PartQueued queued;
        Clock::time_point handed;
        bool drain = false;  // Finish's: let everything sound
    };

    void WriteLoop();
    void WatchLoop();
    PartEnd PlayPart(const Job& job);
    // kPlayed: go on with the next clip; otherwise the part ends so.
    PartEnd PlayClip(const std::string& path, std::int32_t volume);
    PartEnd PlayDefaultSound(const std::string& path, std::int32_t volume);
    PartEnd NoOutput();
    PartEnd WriteSamples(std::span<const std::int16_t> samples, std::int32_t volume);
    // Runs one call on the output under the stall watch; false when the call was cut off.
    bool Watched(const std::function<void()>& call);
    bool Interrupted();

    PcmOutput& output_;
    const ClipReader read_;
    const PcmConverter convert_;
    const std::chrono::milliseconds idleClose_;
    const std::chrono::milliseconds lateLimit_;
    ClipStream stream_;  // the writing thread's alone

    std::mutex mutex_;               // guards everything below
    std::condition_variable wake_;   // the writing thread: a job, Stop, the end
    std::condition_variable watch_;  // the watching thread: a call on the output began or ended
    std::condition_variable idle_;   // Finish and Stop: the writing thread finished a job
    std::deque<Job> jobs_;
    bool working_ = false;      // a job is under way
    bool interrupted_ = false;  // the job under way was stopped or its output stalled
    bool stopped_ = false;      // by Stop: its `queued` is not called
    bool reopen_ = false;       // the output was aborted: the stream must be opened anew
    bool played_ = false;       // something reached the output since the last Finish
    bool ending_ = false;
    std::optional<Clock::time_point> callStarted_;  // a call on the output is under way
    std::uint64_t calls_ = 0;
    std::thread writer_;  // last two: start once everything above exists
    std::thread watcher_;
};

}  // namespace horalia::audio
