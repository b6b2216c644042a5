#include "voice/win32/wave_out_output.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>

#include "common/utf8_path.h"
#include "common/win32/ansi_text.h"
#include "voice/pcm_convert.h"
#include "voice/sentence_player.h"

namespace horalia::win32_audio {
namespace {

constexpr int kChunkMs = 40;

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
    return audio::ParseWav(bytes);
}

}  // namespace

WaveOutOutput::WaveOutOutput() : bufferDone_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

WaveOutOutput::~WaveOutOutput() {
    Close();
}

audio::OpenResult WaveOutOutput::Open(const audio::PcmFormat& format) {
    Close();
    aborted_ = false;
    WAVEFORMATEX wave = WaveFormat(format);
    HWAVEOUT device = nullptr;
    if (!bufferDone_) {
        return audio::OpenResult::kNoServer;
    }
    const MMRESULT opened =
        waveOutOpen(&device, WAVE_MAPPER, &wave, reinterpret_cast<DWORD_PTR>(bufferDone_.get()), 0,
                    CALLBACK_EVENT);
    if (opened != MMSYSERR_NOERROR) {
        return waveOutGetNumDevs() == 0 ? audio::OpenResult::kNoServer
                                        : audio::OpenResult::kRefused;
    }
    device_ = device;
    format_ = format;
    const std::vector<std::int16_t> lead(FramesOf(format, kLeadMs) * format.channels);
    Queue(lead);
    return audio::OpenResult::kOpened;
}

bool WaveOutOutput::Write(std::span<const std::int16_t> samples) {
    if (device_ == nullptr || aborted_) {
        return false;
    }
    Reap();
    return Queue(samples) && WaitUntilPending(FramesOf(format_, kAheadMs));
}

bool WaveOutOutput::Drain() {
    if (device_ == nullptr || aborted_) {
        return false;
    }
    // Buffers count as done once the system has taken them, a little before they are heard: a
    // short silence behind the last clip lets its tail reach the speaker.
    const std::vector<std::int16_t> tail(FramesOf(format_, kAheadMs) * format_.channels);
    return Queue(tail) && WaitUntilPending(0);
}

bool WaveOutOutput::PlaySystemSound(const std::string& path) {
    if (device_ != nullptr && !WaitUntilPending(0)) {
        return false;
    }
    return sndPlaySoundA(win32::Utf8ToAnsi(path).c_str(), 0) != FALSE;
}

void WaveOutOutput::Close() {
    if (device_ == nullptr) {
        return;
    }
    waveOutReset(device_);  // returns every buffer still queued, unheard
    Reap();
    queue_.clear();
    waveOutClose(device_);
    device_ = nullptr;
}

void WaveOutOutput::Abort() {
    aborted_ = true;
    if (bufferDone_) {
        SetEvent(bufferDone_.get());
    }
}

// Short buffers, so that a write can return while only the tail of its samples is left.
bool WaveOutOutput::Queue(std::span<const std::int16_t> samples) {
    const std::size_t channels = static_cast<std::size_t>(format_.channels);
    const std::size_t chunk = std::max<std::size_t>(1, FramesOf(format_, kChunkMs)) * channels;
    for (std::size_t at = 0; at < samples.size(); at += chunk) {
        auto buffer = std::make_unique<Buffer>();
        const auto piece = samples.subspan(at, std::min(chunk, samples.size() - at));
        buffer->samples.assign(piece.begin(), piece.end());
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
void WaveOutOutput::Reap() {
    while (!queue_.empty() && (queue_.front()->header.dwFlags & WHDR_DONE) != 0) {
        waveOutUnprepareHeader(device_, &queue_.front()->header, sizeof(WAVEHDR));
        queue_.pop_front();
    }
}

std::size_t WaveOutOutput::PendingFrames() const {
    std::size_t samples = 0;
    for (const auto& buffer : queue_) {
        if ((buffer->header.dwFlags & WHDR_DONE) == 0) {
            samples += buffer->samples.size();
        }
    }
    return samples / static_cast<std::size_t>(format_.channels);
}

// False when aborted: a device that stopped playing is the player's to notice.
bool WaveOutOutput::WaitUntilPending(std::size_t frames) {
    while (PendingFrames() > frames) {
        if (aborted_) {
            return false;
        }
        WaitForSingleObject(bufferDone_.get(), static_cast<DWORD>(kChunkMs));
    }
    Reap();
    return !aborted_;
}

}  // namespace horalia::win32_audio

namespace horalia {

ClipPlayer& SystemClipPlayer() {
    static win32_audio::WaveOutOutput output;
    static audio::SentencePlayer player(output, win32_audio::ReadClip, audio::ConvertPcm);
    return player;
}

}  // namespace horalia
