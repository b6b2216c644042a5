// A sound file read through libsndfile as 16-bit frames, whatever its own sample encoding.
#pragma once

#include <sndfile.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "voice/wav_audio.h"

namespace horalia::linux_audio {

inline constexpr int kMaxStreamChannels = 32;
inline constexpr int kMaxStreamRate = 384000;

// The stream format for a file's rate and channel count, or nothing when no stream carries it.
std::optional<audio::PcmFormat> PlayableFormat(int sampleRate, int channels);

// The whole clip (at most its first minute), or nothing when ClipFile cannot open it or it holds
// no frame.
std::optional<audio::Pcm> ReadClipFile(const std::string& path);

class ClipFile {
  public:
    // Nothing when the path is not a regular file (a FIFO would block the reader), libsndfile
    // cannot read it, or its format is not playable.
    static std::optional<ClipFile> Open(const std::string& path);

    const audio::PcmFormat& Format() const { return format_; }

    // Replaces buffer with up to maxFrames frames; returns the frame count, 0 at the end of
    // the file or on a read error.
    std::size_t Read(std::vector<std::int16_t>& buffer, std::size_t maxFrames);

  private:
    struct Closer {
        void operator()(SNDFILE* file) const { sf_close(file); }
    };

    ClipFile(SNDFILE* file, audio::PcmFormat format) : file_(file), format_(format) {}

    std::unique_ptr<SNDFILE, Closer> file_;
    audio::PcmFormat format_;
    std::vector<float> floats_;
};

}  // namespace horalia::linux_audio
