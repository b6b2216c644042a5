#include "voice/wav_audio.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace horalia::audio {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr int kMaxChannels = 8;
constexpr int kMaxSampleRate = 384000;
// A data size at or above this is a streaming writer's placeholder, not a real length.
constexpr std::size_t kOpenSize = 0x7FFFF000;

std::uint16_t Read16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Read32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    // One byte at a time: GCC 12 at -O2 takes a range insert here for an overflow (-Werror).
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(tag[i]));
    }
}

std::optional<Pcm> Fail(std::string* error, const char* why) {
    if (error != nullptr) {
        *error = why;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Pcm> ParseWav(const std::vector<std::uint8_t>& bytes, std::string* error,
                            bool* truncated) {
    if (truncated != nullptr) {
        *truncated = false;
    }
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        return Fail(error, "not a RIFF/WAVE file");
    }
    std::optional<PcmFormat> format;
    std::size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const std::uint8_t* chunk = bytes.data() + pos;
        const std::size_t size = Read32(chunk + 4);
        const std::size_t bodyStart = pos + 8;
        const std::size_t available = bytes.size() - bodyStart;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || size > available) {
                return Fail(error, "broken format chunk");
            }
            const std::uint8_t* body = bytes.data() + bodyStart;
            std::uint16_t tag = Read16(body);
            if (tag == kFormatExtensible && size >= 40) {
                tag = Read16(body + 24);  // first two bytes of the sub-format GUID
            }
            const int channels = Read16(body + 2);
            const auto rate = Read32(body + 4);
            const int bits = Read16(body + 14);
            if (tag != kFormatPcm || bits != 16) {
                return Fail(error, "not 16-bit integer PCM");
            }
            if (channels < 1 || channels > kMaxChannels || rate < 1 || rate > kMaxSampleRate) {
                return Fail(error, "unusable channel count or sample rate");
            }
            format = PcmFormat{static_cast<int>(rate), channels};
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format) {
                return Fail(error, "data before the format chunk");
            }
            // Writers that stream leave the size open; take what is there, in whole frames.
            if (truncated != nullptr && size > available && size < kOpenSize) {
                *truncated = true;
            }
            const std::size_t frameBytes = 2 * static_cast<std::size_t>(format->channels);
            const std::size_t length =
                (size < available ? size : available) / frameBytes * frameBytes;
            Pcm pcm{*format, std::vector<std::int16_t>(length / 2)};
            const std::uint8_t* body = bytes.data() + bodyStart;
            for (std::size_t i = 0; i < pcm.samples.size(); ++i) {
                pcm.samples[i] = static_cast<std::int16_t>(Read16(body + 2 * i));
            }
            return pcm;
        }
        if (size > available) {
            break;
        }
        pos = bodyStart + size + (size & 1);  // chunks are padded to even sizes
    }
    return Fail(error, format ? "no data chunk" : "no format chunk");
}

std::vector<std::uint8_t> EncodeWav(const Pcm& pcm) {
    const auto channels = static_cast<std::uint32_t>(pcm.format.channels);
    const auto rate = static_cast<std::uint32_t>(pcm.format.sampleRate);
    const auto dataBytes = static_cast<std::uint32_t>(pcm.samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, kFormatPcm);
    Put16(out, channels);
    Put32(out, rate);
    Put32(out, rate * channels * 2);
    Put16(out, channels * 2);
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (const std::int16_t s : pcm.samples) {
        Put16(out, static_cast<std::uint16_t>(s));
    }
    return out;
}

std::vector<std::int16_t> MapChannels(const std::vector<std::int16_t>& samples, int from, int to) {
    if (from == to || from < 1 || to < 1) {
        return samples;
    }
    const auto in = static_cast<std::size_t>(from);
    const auto out = static_cast<std::size_t>(to);
    const std::size_t frames = samples.size() / in;
    std::vector<std::int16_t> mapped(frames * out);
    std::vector<long> sums(out);
    std::vector<long> counts(out);
    for (std::size_t i = 0; i < in; ++i) {
        ++counts[i % out];
    }
    for (std::size_t f = 0; f < frames; ++f) {
        const std::int16_t* frame = samples.data() + f * in;
        std::int16_t* target = mapped.data() + f * out;
        if (out > in) {
            for (std::size_t c = 0; c < out; ++c) {
                target[c] = frame[c % in];
            }
            continue;
        }
        std::fill(sums.begin(), sums.end(), 0L);
        for (std::size_t i = 0; i < in; ++i) {
            sums[i % out] += frame[i];
        }
        for (std::size_t c = 0; c < out; ++c) {
            target[c] = static_cast<std::int16_t>(sums[c] / counts[c]);
        }
    }
    return mapped;
}

void ApplyVolume(std::vector<std::int16_t>& samples, int percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent == 100) {
        return;
    }
    for (std::int16_t& sample : samples) {
        sample = static_cast<std::int16_t>(sample * percent / 100);
    }
}

std::vector<std::int16_t> DefaultTone(const PcmFormat& format) {
    const int rate = format.sampleRate > 0 ? format.sampleRate : kClipFormat.sampleRate;
    const int channels = format.channels > 0 ? format.channels : 1;
    const int frames = rate * kToneDurationMs / 1000;
    const int fade = rate * kToneFadeMs / 1000;
    constexpr double kAmplitude = 10000.0;
    std::vector<std::int16_t> samples;
    samples.reserve(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels));
    for (int i = 0; i < frames; ++i) {
        double gain = 1.0;
        if (i < fade) {
            gain = static_cast<double>(i) / fade;
        } else if (i >= frames - fade) {
            gain = static_cast<double>(frames - 1 - i) / fade;
        }
        const double phase = 2.0 * std::numbers::pi * kToneFrequencyHz * i / rate;
        const auto value =
            static_cast<std::int16_t>(std::lround(kAmplitude * gain * std::sin(phase)));
        for (int c = 0; c < channels; ++c) {
            samples.push_back(value);
        }
    }
    return samples;
}

}  // namespace horalia::audio
