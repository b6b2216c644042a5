// Conversion of a clip to another sample rate and channel count, so that a clip of another
// format joins the stream already open instead of reopening it. Defined in voice/linux (over
// libsamplerate) and voice/win32 (over the system's ACM converter); channels are mapped with
// MapChannels first.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "voice/wav_audio.h"

namespace horalia::audio {

// The samples in the target format, or nothing when the platform's converter cannot do it.
std::optional<std::vector<std::int16_t>> ConvertPcm(const Pcm& pcm, const PcmFormat& target);

}  // namespace horalia::audio
