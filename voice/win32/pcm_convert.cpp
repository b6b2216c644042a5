#include "voice/pcm_convert.h"

#include <windows.h>

#include <mmreg.h>
#include <mmsystem.h>  // after windows.h, whose types it uses
#include <msacm.h>

#include <cstddef>

namespace horalia::audio {
namespace {

WAVEFORMATEX PcmWaveFormat(int rate, int channels) {
    WAVEFORMATEX wave{};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = static_cast<WORD>(channels);
    wave.nSamplesPerSec = static_cast<DWORD>(rate);
    wave.wBitsPerSample = 16;
    wave.nBlockAlign = static_cast<WORD>(channels * 2);
    wave.nAvgBytesPerSec = wave.nSamplesPerSec * wave.nBlockAlign;
    return wave;
}

// The rate changed by the system's PCM converter, channel count kept.
std::optional<std::vector<std::int16_t>> Resample(const std::vector<std::int16_t>& samples,
                                                  int channels, int from, int to) {
    WAVEFORMATEX source = PcmWaveFormat(from, channels);
    WAVEFORMATEX target = PcmWaveFormat(to, channels);
    HACMSTREAM stream = nullptr;
    if (acmStreamOpen(&stream, nullptr, &source, &target, nullptr, 0, 0,
                      ACM_STREAMOPENF_NONREALTIME) != MMSYSERR_NOERROR) {
        return std::nullopt;
    }
    const auto sourceBytes = static_cast<DWORD>(samples.size() * sizeof(std::int16_t));
    DWORD targetBytes = 0;
    std::optional<std::vector<std::int16_t>> result;
    if (acmStreamSize(stream, sourceBytes, &targetBytes, ACM_STREAMSIZEF_SOURCE) ==
            MMSYSERR_NOERROR &&
        targetBytes > 0) {
        std::vector<std::int16_t> source16 = samples;  // ACM wants writable buffers
        std::vector<std::int16_t> converted(targetBytes / sizeof(std::int16_t) + 1);
        ACMSTREAMHEADER header{};
        header.cbStruct = sizeof header;
        header.pbSrc = reinterpret_cast<LPBYTE>(source16.data());
        header.cbSrcLength = sourceBytes;
        header.pbDst = reinterpret_cast<LPBYTE>(converted.data());
        header.cbDstLength = static_cast<DWORD>(converted.size() * sizeof(std::int16_t));
        if (acmStreamPrepareHeader(stream, &header, 0) == MMSYSERR_NOERROR) {
            if (acmStreamConvert(stream, &header,
                                 ACM_STREAMCONVERTF_START | ACM_STREAMCONVERTF_END) ==
                MMSYSERR_NOERROR) {
                const std::size_t frameBytes =
                    sizeof(std::int16_t) * static_cast<std::size_t>(channels);
                converted.resize(header.cbDstLengthUsed / frameBytes *
                                 static_cast<std::size_t>(channels));
                result = std::move(converted);
            }
            acmStreamUnprepareHeader(stream, &header, 0);
        }
    }
    acmStreamClose(stream, 0);
    return result;
}

}  // namespace

std::optional<std::vector<std::int16_t>> ConvertPcm(const Pcm& pcm, const PcmFormat& target) {
    std::vector<std::int16_t> mapped =
        MapChannels(pcm.samples, pcm.format.channels, target.channels);
    if (pcm.format.sampleRate == target.sampleRate) {
        return mapped;
    }
    return Resample(mapped, target.channels, pcm.format.sampleRate, target.sampleRate);
}

}  // namespace horalia::audio
