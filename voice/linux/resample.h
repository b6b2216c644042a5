// Sample-rate and channel conversion of a clip into the format of the stream already open, so
// that a clip of another format joins the sentence instead of reopening the stream.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "voice/wav_audio.h"

namespace horalia::linux_audio {

// The samples in the target format (libsamplerate's medium sinc converter for the rate), or
// nothing when the converter fails.
std::optional<std::vector<std::int16_t>> ConvertPcm(const audio::Pcm& pcm,
                                                    const audio::PcmFormat& target);

}  // namespace horalia::linux_audio
