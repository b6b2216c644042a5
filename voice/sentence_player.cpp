#include "voice/sentence_player.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace horalia::audio {
namespace {

// Short enough that a stalled output is noticed within one write, long enough to cost nothing.
constexpr std::size_t kChunkFrames = 4096;

}  // namespace

SentencePlayer::SentencePlayer(PcmOutput& output, ClipReader read, PcmConverter convert,
                               std::chrono::milliseconds idleClose,
                               std::chrono::milliseconds lateLimit)
    : output_(output),
      read_(std::move(read)),
      convert_(std::move(convert)),
      idleClose_(idleClose),
      lateLimit_(lateLimit),
      stream_(output),
      writer_([this] { WriteLoop(); }),
      watcher_([this] { WatchLoop(); }) {}

SentencePlayer::~SentencePlayer() {
    Stop();
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_all();
    watch_.notify_all();
    writer_.join();
    watcher_.join();
    stream_.Close();
}

void SentencePlayer::Play(SentencePart part, PartQueued queued) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back({std::move(part), std::move(queued), Clock::now()});
    }
    wake_.notify_all();
}

bool SentencePlayer::Finish() {
    std::unique_lock lock(mutex_);
    jobs_.push_back({{}, {}, Clock::now(), true});
    wake_.notify_all();
    idle_.wait(lock, [this] { return jobs_.empty() && !working_; });
    return std::exchange(played_, false);
}

void SentencePlayer::Stop() {
    std::unique_lock lock(mutex_);
    jobs_.clear();
    if (working_) {
        stopped_ = true;
        interrupted_ = true;
        output_.Abort();
        idle_.wait(lock, [this] { return !working_; });
    }
}

// Takes one job at a time; with none, closes the stream once it has been idle a while.
void SentencePlayer::WriteLoop() {
    constexpr Clock::time_point kNever = Clock::time_point::max();
    std::unique_lock lock(mutex_);
    Clock::time_point closeAt = kNever;
    while (!ending_) {
        const bool closeDue = closeAt != kNever && Clock::now() >= closeAt;
        if (jobs_.empty() && !closeDue) {
            if (closeAt != kNever) {
                wake_.wait_until(lock, closeAt);
            } else {
                wake_.wait(lock);
            }
            continue;
        }
        std::optional<Job> job;
        if (!jobs_.empty()) {
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        working_ = true;
        stopped_ = false;
        interrupted_ = false;
        const bool reopen = std::exchange(reopen_, false);
        lock.unlock();

        if (reopen) {
            stream_.Close();  // the output was aborted: the next write needs a new stream
        }
        PartEnd end = PartEnd::kPlayed;
        if (!job || job->drain) {
            Watched([this] { stream_.Drain(); });
        } else {
            end = PlayPart(*job);
        }
        if (!job) {
            stream_.Close();
        }

        lock.lock();
        if (interrupted_) {
            end = PartEnd::kDropped;
            reopen_ = true;
        }
        closeAt = job ? Clock::now() + idleClose_ : kNever;
        if (job && job->queued && !stopped_) {
            lock.unlock();
            job->queued(end);
            lock.lock();
        }
        working_ = false;
        idle_.notify_all();
    }
}

// Cuts off a call on the output that takes longer than the limit.
void SentencePlayer::WatchLoop() {
    std::unique_lock lock(mutex_);
    while (!ending_) {
        if (!callStarted_) {
            watch_.wait(lock);
            continue;
        }
        const std::uint64_t call = calls_;
        const auto over = [&] { return ending_ || calls_ != call || !callStarted_; };
        if (watch_.wait_until(lock, *callStarted_ + lateLimit_, over)) {
            continue;
        }
        interrupted_ = true;
        output_.Abort();
        watch_.wait(lock, over);
    }
}

bool SentencePlayer::Watched(const std::function<void()>& call) {
    {
        std::lock_guard lock(mutex_);
        if (interrupted_) {
            return false;
        }
        callStarted_ = Clock::now();
        ++calls_;
    }
    watch_.notify_all();
    call();
    std::lock_guard lock(mutex_);
    callStarted_.reset();
    return !interrupted_;
}

bool SentencePlayer::Interrupted() {
    std::lock_guard lock(mutex_);
    return interrupted_;
}

ClipPlayer::PartEnd SentencePlayer::PlayPart(const Job& job) {
    if (Clock::now() - job.handed > lateLimit_) {
        return PartEnd::kDropped;  // it waited behind a stalled output: never spoken late
    }
    for (const std::string& clip : job.part.clips) {
        if (const PartEnd end = PlayClip(clip, job.part.volume); end != PartEnd::kPlayed) {
            return end;
        }
    }
    return PartEnd::kPlayed;
}

// kDropped when the output stalled or the player was stopped, kNoOutput when there is nowhere
// to play: the rest of the part is not tried, and the next part asks for the server again.
ClipPlayer::PartEnd SentencePlayer::PlayClip(const std::string& path, std::int32_t volume) {
    const std::optional<Pcm> clip = read_(path);
    if (!clip || clip->samples.empty()) {
        return PlayDefaultSound(path, volume);
    }
    // The open stream keeps its format; only a closed one takes the clip's own.
    PcmFormat format = stream_.OpenFormat().value_or(clip->format);
    OpenResult opened = stream_.Ensure(format);
    if (opened == OpenResult::kRefused && format != kClipFormat) {
        format = kClipFormat;
        opened = stream_.Ensure(format);
    }
    if (opened == OpenResult::kNoServer) {
        return NoOutput();  // and the tone would not be heard either
    }
    if (opened != OpenResult::kOpened) {
        return PlayDefaultSound(path, volume);
    }
    if (clip->format == format) {
        return WriteSamples(clip->samples, volume);
    }
    const std::optional<std::vector<std::int16_t>> converted = convert_(*clip, format);
    if (!converted || converted->empty()) {
        return PlayDefaultSound(path, volume);
    }
    return WriteSamples(*converted, volume);
}

// The system's sound where the platform has one (it cannot be made quieter, so only at full
// volume), else the tone, in the open stream's format so that a missing word costs no reopen.
ClipPlayer::PartEnd SentencePlayer::PlayDefaultSound(const std::string& path, std::int32_t volume) {
    if (volume >= 100) {
        bool played = false;
        if (!Watched([&] { played = output_.PlaySystemSound(path); })) {
            return PartEnd::kDropped;
        }
        if (played) {
            std::lock_guard lock(mutex_);
            played_ = true;
            return PartEnd::kPlayed;
        }
    }
    const PcmFormat format = stream_.OpenFormat().value_or(kClipFormat);
    if (stream_.Ensure(format) != OpenResult::kOpened) {
        return NoOutput();
    }
    return WriteSamples(DefaultTone(format), volume);
}

ClipPlayer::PartEnd SentencePlayer::NoOutput() {
    return Interrupted() ? PartEnd::kDropped : PartEnd::kNoOutput;
}

ClipPlayer::PartEnd SentencePlayer::WriteSamples(std::span<const std::int16_t> samples,
                                                 std::int32_t volume) {
    std::vector<std::int16_t> quieter;
    if (volume < 100) {
        quieter.assign(samples.begin(), samples.end());
        ApplyVolume(quieter, volume);
        samples = quieter;
    }
    const std::size_t channels = static_cast<std::size_t>(stream_.OpenFormat()->channels);
    const std::size_t chunk = kChunkFrames * channels;
    for (std::size_t at = 0; at < samples.size(); at += chunk) {
        const auto piece = samples.subspan(at, std::min(chunk, samples.size() - at));
        bool written = false;
        if (!Watched([&] { written = stream_.Write(piece); })) {
            return PartEnd::kDropped;
        }
        if (!written) {
            return PartEnd::kPlayed;  // the stream failed and is closed; the next clip reopens
        }
        std::lock_guard lock(mutex_);
        played_ = true;
    }
    return PartEnd::kPlayed;
}

}  // namespace horalia::audio
