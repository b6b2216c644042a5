#include "voice/linux/clip_file.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace horalia::linux_audio {

std::optional<audio::PcmFormat> PlayableFormat(int sampleRate, int channels) {
    if (sampleRate < 1 || sampleRate > kMaxStreamRate || channels < 1 ||
        channels > kMaxStreamChannels) {
        return std::nullopt;
    }
    return audio::PcmFormat{sampleRate, channels};
}

std::optional<ClipFile> ClipFile::Open(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return std::nullopt;
    }
    const std::optional<audio::PcmFormat> format = PlayableFormat(info.samplerate, info.channels);
    if (!format) {
        sf_close(file);
        return std::nullopt;
    }
    return ClipFile(file, *format);
}

// Read as floats scaled to [-1, 1), which libsndfile does for every encoding (its own float to
// 16-bit conversion leaves floating-point files unscaled), then clamp: a float file may exceed
// full scale (or hold NaN) and must not wrap around. 16-bit files come through unchanged.
std::size_t ClipFile::Read(std::vector<std::int16_t>& buffer, std::size_t maxFrames) {
    const auto channels = static_cast<std::size_t>(format_.channels);
    floats_.resize(maxFrames * channels);
    const sf_count_t got =
        sf_readf_float(file_.get(), floats_.data(), static_cast<sf_count_t>(maxFrames));
    const std::size_t frames = got > 0 ? static_cast<std::size_t>(got) : 0;
    buffer.resize(frames * channels);
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        const float value = std::isnan(floats_[i]) ? 0.0f : floats_[i];
        const float scaled = std::clamp(value * 32768.0f, -32768.0f, 32767.0f);
        buffer[i] = static_cast<std::int16_t>(std::lrint(scaled));
    }
    return frames;
}

std::optional<audio::Pcm> ReadClipFile(const std::string& path) {
    std::optional<ClipFile> file = ClipFile::Open(path);
    if (!file) {
        return std::nullopt;
    }
    audio::Pcm pcm{file->Format(), {}};
    const std::size_t maxFrames = static_cast<std::size_t>(pcm.format.sampleRate) * 60;
    std::vector<std::int16_t> chunk;
    while (pcm.Frames() < maxFrames && file->Read(chunk, 4096) > 0) {
        pcm.samples.insert(pcm.samples.end(), chunk.begin(), chunk.end());
    }
    if (pcm.samples.empty()) {
        return std::nullopt;
    }
    return pcm;
}

}  // namespace horalia::linux_audio
