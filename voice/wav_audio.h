// 16-bit PCM WAV in memory: reading, writing, and the short tone that stands in for a clip that
// cannot be played. No file access here; callers bring and take the bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace horalia::audio {

struct PcmFormat {
    int sampleRate = 22050;
    int channels = 1;

    friend bool operator==(const PcmFormat&, const PcmFormat&) = default;
};

// The format of the shipped clips, used for the tone when no clip tells another.
inline constexpr PcmFormat kClipFormat{22050, 1};

struct Pcm {
    PcmFormat format;
    std::vector<std::int16_t> samples;  // interleaved frames

    std::size_t Frames() const {
        return format.channels > 0 ? samples.size() / static_cast<std::size_t>(format.channels) : 0;
    }
};

// Parses a RIFF/WAVE file holding 16-bit integer PCM (plain or WAVE_FORMAT_EXTENSIBLE).
// On failure returns nothing and, when error is given, says why. A data chunk that ends before
// its stated size gives the whole frames that are there and sets *truncated when given (a size
// left open by a streaming writer, near 2 or 4 GiB, does not count as truncation).
std::optional<Pcm> ParseWav(const std::vector<std::uint8_t>& bytes, std::string* error = nullptr,
                            bool* truncated = nullptr);

// A canonical 44-byte-header RIFF/WAVE file of the samples.
std::vector<std::uint8_t> EncodeWav(const Pcm& pcm);

// The frames with the channel count changed: a channel that exists on both sides is kept, one
// more is a copy of an input channel (output c takes input c modulo the input's count), one
// fewer is mixed in (output c is the mean of every input i with i modulo the output's count
// equal to c). Mono therefore becomes the same signal everywhere, and everything mixes to mono.
std::vector<std::int16_t> MapChannels(const std::vector<std::int16_t>& samples, int from, int to);

// Scales the samples to percent of their amplitude (values outside 0..100 are clamped); 100
// leaves them unchanged.
void ApplyVolume(std::vector<std::int16_t>& samples, int percent);

// 880 Hz, 150 ms, with 15 ms linear fades in and out, at about a third of full scale; every
// channel carries the same signal.
std::vector<std::int16_t> DefaultTone(const PcmFormat& format);

inline constexpr int kToneFrequencyHz = 880;
inline constexpr int kToneDurationMs = 150;
inline constexpr int kToneFadeMs = 15;

}  // namespace horalia::audio
