// Renders an announcement into one stream of samples: the clips back to back, a tone in place of
// each clip that cannot be read.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "voice/wav_audio.h"

namespace horalia::say {

// Returns the whole file, or nothing when it cannot be read.
using FileReader = std::function<std::optional<std::vector<std::uint8_t>>(const std::string&)>;

struct Rendering {
    audio::Pcm pcm;
    std::vector<std::string> warnings;  // one per clip replaced by the tone
    std::string error;                  // clips of different formats; pcm is then empty

    bool Ok() const { return error.empty(); }
};

// All clips must share one format; the tone takes that format (the clips' usual one when none
// can be read).
Rendering RenderClips(const std::vector<std::string>& paths, const FileReader& read);

// The clips of the whole set (kAllClipTexts) that a voice folder lacks or holds in a form that
// cannot be played, one line each ("missing: 两.wav", "unplayable: 五.wav (not a RIFF/WAVE
// file)"); empty when the folder holds them all. separator joins the folder and the file name
// when the folder does not end with one.
std::vector<std::string> VoiceProblems(const std::string& folder, char separator,
                                       const FileReader& read);

}  // namespace horalia::say
