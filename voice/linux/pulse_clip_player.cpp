#include "voice/linux/pulse_clip_player.h"

#include <vector>

#include "voice/linux/pulse_output.h"
#include "voice/pcm_convert.h"

namespace horalia::linux_audio {
namespace {

constexpr std::size_t kChunkFrames = 4096;

}  // namespace

PulseClipPlayer::PulseClipPlayer(PcmOutput& output, std::chrono::milliseconds idleClose)
    : idleClose_(idleClose), stream_(output), closer_([this] { CloseWhenIdle(); }) {}

PulseClipPlayer::~PulseClipPlayer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    closer_.join();
    stream_.Drain();
    stream_.Close();
}

void PulseClipPlayer::Play(const std::string& path, std::int32_t /*flags*/) {
    std::lock_guard lock(mutex_);
    std::optional<ClipFile> file = ClipFile::Open(path);
    if (!file || !PlayFile(*file)) {
        PlayTone();
    }
    closeAt_ = std::chrono::steady_clock::now() + idleClose_;
    wake_.notify_one();
}

bool PulseClipPlayer::Finish() {
    std::lock_guard lock(mutex_);
    stream_.Drain();
    const bool played = played_;
    played_ = false;
    return played;
}

void PulseClipPlayer::SetVolume(std::int32_t percent) {
    std::lock_guard lock(mutex_);
    volume_ = percent;
}

bool PulseClipPlayer::Write(std::span<const std::int16_t> samples) {
    bool written = false;
    if (volume_ >= 100) {
        written = stream_.Write(samples);
    } else {
        std::vector<std::int16_t> quieter(samples.begin(), samples.end());
        audio::ApplyVolume(quieter, volume_);
        written = stream_.Write(quieter);
    }
    played_ = played_ || written;
    return written;
}

// False when the file yields nothing a stream takes; the caller plays the tone instead. No drain:
// the stream's buffer still sounds when this returns, and the next clip is queued behind it.
bool PulseClipPlayer::PlayFile(ClipFile& file) {
    std::vector<std::int16_t> chunk;
    if (file.Read(chunk, kChunkFrames) == 0) {
        return false;
    }
    // The open stream keeps its format; only a closed one takes the clip's own.
    const audio::PcmFormat format = stream_.OpenFormat().value_or(file.Format());
    switch (stream_.Ensure(format)) {
        case OpenResult::kOpened:
            break;
        case OpenResult::kNoServer:
            return true;  // nowhere to play, and the tone would not be heard either
        case OpenResult::kRefused:
            return false;
    }
    if (file.Format() != format) {
        audio::Pcm whole{file.Format(), std::move(chunk)};
        std::vector<std::int16_t> more;
        while (file.Read(more, kChunkFrames) > 0) {
            whole.samples.insert(whole.samples.end(), more.begin(), more.end());
        }
        const std::optional<std::vector<std::int16_t>> converted = audio::ConvertPcm(whole, format);
        if (!converted || converted->empty()) {
            return false;
        }
        Write(*converted);
        return true;
    }
    do {
        if (!Write(chunk)) {
            return true;  // the stream is gone; the next clip opens a new one
        }
    } while (file.Read(chunk, kChunkFrames) > 0);
    return true;
}

void PulseClipPlayer::PlayTone() {
    // In the open stream's format, so that a missing word does not cost a reopen.
    const audio::PcmFormat format = stream_.OpenFormat().value_or(audio::kClipFormat);
    if (stream_.Ensure(format) == OpenResult::kOpened) {
        Write(audio::DefaultTone(format));
    }
}

void PulseClipPlayer::CloseWhenIdle() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!closeAt_) {
            wake_.wait(lock);
        } else if (std::chrono::steady_clock::now() >= *closeAt_) {
            stream_.Drain();  // long played out by now; lets the server end it cleanly
            stream_.Close();
            closeAt_.reset();
        } else {
            wake_.wait_until(lock, *closeAt_);
        }
    }
}

}  // namespace horalia::linux_audio

namespace horalia {

ClipPlayer& SystemClipPlayer() {
    static linux_audio::PulseOutput output;
    static linux_audio::PulseClipPlayer player(output);
    return player;
}

}  // namespace horalia
