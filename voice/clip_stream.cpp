#include "voice/clip_stream.h"

#include <utility>

namespace horalia::audio {

ClipStream::ClipStream(PcmOutput& output, std::function<Clock::time_point()> now)
    : output_(output), now_(std::move(now)) {}

ClipStream::~ClipStream() {
    Close();
}

OpenResult ClipStream::Ensure(const PcmFormat& format) {
    if (open_ == format) {
        return OpenResult::kOpened;
    }
    Close();
    if (retryAt_ && now_() < *retryAt_) {
        return OpenResult::kNoServer;
    }
    const OpenResult result = output_.Open(format);
    retryAt_.reset();
    if (result == OpenResult::kOpened) {
        open_ = format;
    } else if (result == OpenResult::kNoServer) {
        retryAt_ = now_() + kRetryDelay;
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
