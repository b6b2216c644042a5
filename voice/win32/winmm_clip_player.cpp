#include "voice/win32/winmm_clip_player.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "common/utf8_path.h"
#include "common/win32/ansi_text.h"
#include "voice/pcm_convert.h"

namespace horalia::win32_audio {
namespace {

constexpr int kChunkMs = 40;
// A device that plays nothing for this long past what was queued is given up.
constexpr auto kStallGrace = std::chrono::seconds(2);

std::size_t FramesOf(const audio::PcmFormat& format, int ms) {
    return static_cast<std::size_t>(format.sampleRate) * static_cast<std::size_t>(ms) / 1000;
}

WAVEFORMATEX WaveFormat(const audio::PcmFormat& format) {
    WAVEFORMATEX wave{};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = static_cast<WORD>(format.channels);
    wave.nSamplesPerSec = static_cast<DWORD>(format.sampleRate);
    wave.wBitsPerSample = 16;
    wave.nBlockAlign = static_cast<WORD>(format.channels * 2);
    wave.nAvgBytesPerSec = wave.nSamplesPerSec * wave.nBlockAlign;
    return wave;
}

std::optional<audio::Pcm> ReadClip(const std::string& path) {
    std::ifstream in(Utf8Path(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    std::optional<audio::Pcm> pcm = audio::ParseWav(bytes);
    if (!pcm || pcm->samples.empty()) {
        return std::nullopt;
    }
    return pcm;
}

}  // namespace

WinmmClipPlayer::WinmmClipPlayer(std::chrono::milliseconds idleClose)
    : idleClose_(idleClose),
      bufferDone_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      closer_([this] { CloseWhenIdle(); }) {}

WinmmClipPlayer::~WinmmClipPlayer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    closer_.join();
    Close();
}

void WinmmClipPlayer::Play(const std::string& path, std::int32_t flags) {
    std::lock_guard lock(mutex_);
    Reap();
    const std::optional<audio::Pcm> clip = ReadClip(path);
    if (!clip) {
        PlayUnreadable(path, flags);
    } else if (device_ != nullptr || Open(clip->format) || Open(audio::kClipFormat)) {
        std::optional<std::vector<std::int16_t>> samples;
        if (clip->format == format_) {
            samples = clip->samples;
        } else {
            samples = audio::ConvertPcm(*clip, format_);
        }
        if (samples) {
            audio::ApplyVolume(*samples, volume_);
        }
        if (!samples || samples->empty()) {
            PlayUnreadable(path, flags);
        } else if (Queue(*samples)) {
            played_ = true;
        }
    }
    WaitUntilPending(FramesOf(format_, kAheadMs));
    closeAt_ = std::chrono::steady_clock::now() + idleClose_;
    wake_.notify_one();
}

bool WinmmClipPlayer::Finish() {
    std::lock_guard lock(mutex_);
    if (device_ != nullptr) {
        // Buffers count as done once the system has taken them, a little before they are
        // heard: a short silence behind the last clip lets its tail reach the speaker.
        Queue(std::vector<std::int16_t>(FramesOf(format_, kAheadMs) * format_.channels));
        WaitUntilPending(0);
    }
    const bool played = played_;
    played_ = false;
    return played;
}

// The system's own player, after what is queued has sounded: it plays the file if it can and its
// default sound if not. The tone is the last resort, when it played nothing.
void WinmmClipPlayer::PlayUnreadable(const std::string& path, std::int32_t flags) {
    WaitUntilPending(0);
    if (volume_ >= 100 &&
        sndPlaySoundA(win32::Utf8ToAnsi(path).c_str(), static_cast<UINT>(flags))) {
        played_ = true;
        return;
    }
    if (device_ != nullptr || Open(audio::kClipFormat)) {
        std::vector<std::int16_t> tone = audio::DefaultTone(format_);
        audio::ApplyVolume(tone, volume_);
        if (Queue(tone)) {
            played_ = true;
        }
    }
}

void WinmmClipPlayer::SetVolume(std::int32_t percent) {
    std::lock_guard lock(mutex_);
    volume_ = percent;
}

bool WinmmClipPlayer::Open(const audio::PcmFormat& format) {
    WAVEFORMATEX wave = WaveFormat(format);
    HWAVEOUT device = nullptr;
    if (!bufferDone_ ||
        waveOutOpen(&device, WAVE_MAPPER, &wave, reinterpret_cast<DWORD_PTR>(bufferDone_.get()), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR) {
        return false;
    }
    device_ = device;
    format_ = format;
    Queue(std::vector<std::int16_t>(FramesOf(format, kLeadMs) * format.channels));
    return true;
}

// Short buffers, so that Play can return while only the tail of its clip is left.
bool WinmmClipPlayer::Queue(const std::vector<std::int16_t>& samples) {
    const std::size_t channels = static_cast<std::size_t>(format_.channels);
    const std::size_t chunk = std::max<std::size_t>(1, FramesOf(format_, kChunkMs)) * channels;
    for (std::size_t at = 0; at < samples.size(); at += chunk) {
        auto buffer = std::make_unique<Buffer>();
        const std::size_t end = std::min(samples.size(), at + chunk);
        buffer->samples.assign(samples.begin() + static_cast<std::ptrdiff_t>(at),
                               samples.begin() + static_cast<std::ptrdiff_t>(end));
        buffer->header.lpData = reinterpret_cast<LPSTR>(buffer->samples.data());
        buffer->header.dwBufferLength =
            static_cast<DWORD>(buffer->samples.size() * sizeof(std::int16_t));
        if (waveOutPrepareHeader(device_, &buffer->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
            return false;
        }
        if (waveOutWrite(device_, &buffer->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
            waveOutUnprepareHeader(device_, &buffer->header, sizeof(WAVEHDR));
            return false;
        }
        queue_.push_back(std::move(buffer));
    }
    return true;
}

// Releases the buffers the device has finished with, oldest first.
void WinmmClipPlayer::Reap() {
    while (!queue_.empty() && (queue_.front()->header.dwFlags & WHDR_DONE) != 0) {
        waveOutUnprepareHeader(device_, &queue_.front()->header, sizeof(WAVEHDR));
        queue_.pop_front();
    }
}

std::size_t WinmmClipPlayer::PendingFrames() const {
    std::size_t samples = 0;
    for (const auto& buffer : queue_) {
        if ((buffer->header.dwFlags & WHDR_DONE) == 0) {
            samples += buffer->samples.size();
        }
    }
    return samples / static_cast<std::size_t>(format_.channels);
}

void WinmmClipPlayer::WaitUntilPending(std::size_t frames) {
    if (device_ == nullptr) {
        return;
    }
    std::size_t pending = PendingFrames();
    auto deadline = std::chrono::steady_clock::now() + kStallGrace;
    while (pending > frames) {
        WaitForSingleObject(bufferDone_.get(), static_cast<DWORD>(kChunkMs));
        const std::size_t now = PendingFrames();
        if (now < pending) {
            deadline = std::chrono::steady_clock::now() + kStallGrace;
        } else if (std::chrono::steady_clock::now() > deadline) {
            Close();  // the device stopped playing; the next clip opens it anew
            return;
        }
        pending = now;
    }
    Reap();
}

void WinmmClipPlayer::Close() {
    if (device_ == nullptr) {
        return;
    }
    waveOutReset(device_);  // returns every buffer still queued
    Reap();
    queue_.clear();
    waveOutClose(device_);
    device_ = nullptr;
}

void WinmmClipPlayer::CloseWhenIdle() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!closeAt_) {
            wake_.wait(lock);
        } else if (std::chrono::steady_clock::now() >= *closeAt_) {
            WaitUntilPending(0);
            Close();
            closeAt_.reset();
        } else {
            wake_.wait_until(lock, *closeAt_);
        }
    }
}

}  // namespace horalia::win32_audio

namespace horalia {

ClipPlayer& SystemClipPlayer() {
    static win32_audio::WinmmClipPlayer player;
    return player;
}

}  // namespace horalia
