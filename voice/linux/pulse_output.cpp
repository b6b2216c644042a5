#include "voice/linux/pulse_output.h"

#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/rtclock.h>
#include <pulse/simple.h>

#include <cstdint>
#include <optional>
#include <string>

#include "common/identity.h"
#include "voice/linux/clip_file.h"

namespace horalia::linux_audio {
namespace {

static_assert(kMaxStreamChannels <= PA_CHANNELS_MAX && kMaxStreamRate <= PA_RATE_MAX);

// Small enough that playback starts at once and that a clip is about done when its last samples
// are queued (the player returns then), large enough not to underrun while the caller's event
// pump runs and the next clip is opened and read.
constexpr std::uint32_t kTargetBufferMs = 100;

void MarkTimedOut(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* timedOut) {
    *static_cast<bool*>(timedOut) = true;
}

// Runs the loop until the context is connected, has failed, or the timeout has passed.
bool WaitUntilReady(pa_mainloop* loop, pa_context* context, std::chrono::milliseconds timeout) {
    bool timedOut = false;
    const auto usec = static_cast<pa_usec_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(timeout).count());
    pa_time_event* timer =
        pa_context_rttime_new(context, pa_rtclock_now() + usec, MarkTimedOut, &timedOut);
    bool ready = false;
    while (!timedOut) {
        const pa_context_state_t state = pa_context_get_state(context);
        ready = state == PA_CONTEXT_READY;
        if (ready || !PA_CONTEXT_IS_GOOD(state) || pa_mainloop_iterate(loop, 1, nullptr) < 0) {
            break;
        }
    }
    if (timer != nullptr) {
        pa_mainloop_get_api(loop)->time_free(timer);
    }
    return ready;
}

// The address of a running server, found without ever starting one: pa_simple_new alone may
// autospawn a daemon and cannot be given a timeout. Opening the stream on the address found here
// rules out the spawn, since a server address is then given.
std::optional<std::string> FindRunningServer(std::chrono::milliseconds timeout) {
    pa_mainloop* loop = pa_mainloop_new();
    if (loop == nullptr) {
        return std::nullopt;
    }
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), kProgramName);
    std::optional<std::string> server;
    if (context != nullptr &&
        pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 &&
        WaitUntilReady(loop, context, timeout)) {
        if (const char* name = pa_context_get_server(context)) {
            server = name;
        }
    }
    if (context != nullptr) {
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
    pa_mainloop_free(loop);
    return server;
}

std::uint32_t BytesFor(const audio::PcmFormat& format, std::uint32_t ms) {
    return static_cast<std::uint32_t>(format.sampleRate) * ms / 1000 *
           static_cast<std::uint32_t>(format.channels) * sizeof(std::int16_t);
}

}  // namespace

PulseOutput::~PulseOutput() {
    Close();
}

OpenResult PulseOutput::Open(const audio::PcmFormat& format) {
    Close();
    const std::optional<std::string> server = FindRunningServer(kConnectTimeout);
    if (!server) {
        return OpenResult::kNoServer;
    }
    const pa_sample_spec sampleFormat{PA_SAMPLE_S16NE,
                                      static_cast<std::uint32_t>(format.sampleRate),
                                      static_cast<std::uint8_t>(format.channels)};
    constexpr std::uint32_t kServerDefault = static_cast<std::uint32_t>(-1);
    const pa_buffer_attr buffer{kServerDefault, BytesFor(format, kTargetBufferMs), kServerDefault,
                                kServerDefault, kServerDefault};
    stream_ = pa_simple_new(server->c_str(), kProgramName, PA_STREAM_PLAYBACK, nullptr, "clip",
                            &sampleFormat, nullptr, &buffer, nullptr);
    return stream_ != nullptr ? OpenResult::kOpened : OpenResult::kRefused;
}

bool PulseOutput::Write(std::span<const std::int16_t> samples) {
    return stream_ != nullptr &&
           pa_simple_write(stream_, samples.data(), samples.size_bytes(), nullptr) >= 0;
}

bool PulseOutput::Drain() {
    return stream_ != nullptr && pa_simple_drain(stream_, nullptr) >= 0;
}

void PulseOutput::Close() {
    if (stream_ != nullptr) {
        pa_simple_free(stream_);
        stream_ = nullptr;
    }
}

}  // namespace horalia::linux_audio
