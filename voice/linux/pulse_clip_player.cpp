#include "voice/linux/pulse_clip_player.h"

#include <vector>

#include "voice/linux/pulse_output.h"

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

// False when the file yields nothing a stream takes; the caller plays the tone instead.
bool PulseClipPlayer::PlayFile(ClipFile& file) {
    std::vector<std::int16_t> chunk;
    if (file.Read(chunk, kChunkFrames) == 0) {
        return false;
    }
    switch (stream_.Ensure(file.Format())) {
        case OpenResult::kOpened:
            break;
        case OpenResult::kNoServer:
            return true;  // nowhere to play, and the tone would not be heard either
        case OpenResult::kRefused:
            return false;
    }
    do {
        if (!stream_.Write(chunk)) {
            return true;  // the stream is gone; the next clip opens a new one
        }
    } while (file.Read(chunk, kChunkFrames) > 0);
    stream_.Drain();
    return true;
}

void PulseClipPlayer::PlayTone() {
    // In the open stream's format, so that a missing word does not cost a reopen.
    const audio::PcmFormat format = stream_.OpenFormat().value_or(audio::kClipFormat);
    if (stream_.Ensure(format) != OpenResult::kOpened) {
        return;
    }
    if (stream_.Write(audio::DefaultTone(format))) {
        stream_.Drain();
    }
}

void PulseClipPlayer::CloseWhenIdle() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!closeAt_) {
            wake_.wait(lock);
        } else if (std::chrono::steady_clock::now() >= *closeAt_) {
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
