#include "voice/clip_stream.h"

namespace horalia::audio {

ClipStream::ClipStream(PcmOutput& output) : output_(output) {}

ClipStream::~ClipStream() {
    Close();
}

OpenResult ClipStream::Ensure(const PcmFormat& format) {
    if (open_ == format) {
        return OpenResult::kOpened;
    }
    Close();
    const OpenResult result = output_.Open(format);
    if (result == OpenResult::kOpened) {
        open_ = format;
    }
    return result;
}

bool ClipStream::Write(std::span<const std::int16_t> samples) {
    if (!open_) {
        return false;
    }
    if (!output_.Write(samples)) {
        Close();
        return false;
    }
    return true;
}

bool ClipStream::Drain() {
    if (!open_) {
        return false;
    }
    if (!output_.Drain()) {
        Close();
        return false;
    }
    return true;
}

void ClipStream::Close() {
    if (open_) {
        output_.Close();
        open_.reset();
    }
}

}  // namespace horalia::audio
