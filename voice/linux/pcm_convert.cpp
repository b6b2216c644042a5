#include "voice/pcm_convert.h"

#include <samplerate.h>

#include <cmath>

namespace horalia::audio {

// libsamplerate's medium sinc converter: clean for speech, and fast enough for a whole clip.
std::optional<std::vector<std::int16_t>> ConvertPcm(const Pcm& pcm, const PcmFormat& target) {
    std::vector<std::int16_t> mapped =
        MapChannels(pcm.samples, pcm.format.channels, target.channels);
    if (pcm.format.sampleRate == target.sampleRate || mapped.empty()) {
        return mapped;
    }
    const double ratio = static_cast<double>(target.sampleRate) / pcm.format.sampleRate;
    const auto channels = static_cast<std::size_t>(target.channels);
    const std::size_t inFrames = mapped.size() / channels;
    const auto outFrames = static_cast<std::size_t>(std::ceil(inFrames * ratio)) + 1;
    std::vector<float> in(mapped.size());
    std::vector<float> out(outFrames * channels);
    src_short_to_float_array(mapped.data(), in.data(), static_cast<int>(in.size()));
    SRC_DATA data{};
    data.data_in = in.data();
    data.data_out = out.data();
    data.input_frames = static_cast<long>(inFrames);
    data.output_frames = static_cast<long>(outFrames);
    data.src_ratio = ratio;
    if (src_simple(&data, SRC_SINC_MEDIUM_QUALITY, target.channels) != 0) {
        return std::nullopt;
    }
    std::vector<std::int16_t> converted(static_cast<std::size_t>(data.output_frames_gen) *
                                        channels);
    src_float_to_short_array(out.data(), converted.data(), static_cast<int>(converted.size()));
    return converted;
}

}  // namespace horalia::audio
