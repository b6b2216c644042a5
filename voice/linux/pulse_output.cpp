#include "voice/linux/pulse_output.h"

#include <pulse/context.h>
#include <pulse/rtclock.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>
#include <cstdint>

#include "common/identity.h"
#include "voice/linux/clip_file.h"
#include "voice/pcm_convert.h"
#include "voice/sentence_player.h"

namespace horalia::linux_audio {
namespace {

static_assert(kMaxStreamChannels <= PA_CHANNELS_MAX && kMaxStreamRate <= PA_RATE_MAX);

// Small enough that playback starts at once and that a clip is about done when its last samples
// are queued, large enough not to underrun while the next part is handed over and read.
constexpr std::uint32_t kTargetBufferMs = 100;

void Signal(void* loop) {
    pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
}
void OnContextEvent(pa_context*, void* loop) {
    Signal(loop);
}
void OnStreamEvent(pa_stream*, void* loop) {
    Signal(loop);
}
void OnStreamRoom(pa_stream*, std::size_t, void* loop) {
    Signal(loop);
}

struct Deadline {
    pa_threaded_mainloop* loop;
    bool passed = false;
};
void OnDeadline(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* deadline) {
    static_cast<Deadline*>(deadline)->passed = true;
    Signal(static_cast<Deadline*>(deadline)->loop);
}

struct DrainState {
    pa_threaded_mainloop* loop;
    bool drained = false;
};
void OnDrained(pa_stream*, int success, void* state) {
    static_cast<DrainState*>(state)->drained = success != 0;
    Signal(static_cast<DrainState*>(state)->loop);
}

std::uint32_t BytesFor(const audio::PcmFormat& format, std::uint32_t ms) {
    return static_cast<std::uint32_t>(format.sampleRate) * ms / 1000 *
           static_cast<std::uint32_t>(format.channels) * sizeof(std::int16_t);
}

}  // namespace

PulseOutput::~PulseOutput() {
    Close();
}

template <typename Ready, typename Failed>
bool PulseOutput::WaitUntil(Ready ready, Failed failed) {
    Deadline deadline{loop_};
    const auto usec = static_cast<pa_usec_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(kConnectTimeout).count());
    pa_time_event* timer =
        pa_context_rttime_new(context_, pa_rtclock_now() + usec, OnDeadline, &deadline);
    bool ok = false;
    while (!aborted_ && !deadline.passed && !(ok = ready()) && !failed()) {
        pa_threaded_mainloop_wait(loop_);
    }
    if (timer != nullptr) {
        pa_threaded_mainloop_get_api(loop_)->time_free(timer);
    }
    return ok;
}

audio::OpenResult PulseOutput::Open(const audio::PcmFormat& format) {
    Close();
    aborted_ = false;
    {
        std::lock_guard guard(loopMutex_);
        loop_ = pa_threaded_mainloop_new();
        if (loop_ != nullptr && pa_threaded_mainloop_start(loop_) < 0) {
            pa_threaded_mainloop_free(loop_);
            loop_ = nullptr;
        }
        if (loop_ == nullptr) {
            return audio::OpenResult::kNoServer;
        }
    }
    pa_threaded_mainloop_lock(loop_);
    const audio::OpenResult result = Connect(format);
    pa_threaded_mainloop_unlock(loop_);
    if (result != audio::OpenResult::kOpened) {
        Close();
    }
    return result;
}

// With the loop locked. The server is never started: a client library left to itself may spawn
// a daemon, which is not this program's to do.
audio::OpenResult PulseOutput::Connect(const audio::PcmFormat& format) {
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), kProgramName);
    if (context_ == nullptr) {
        return audio::OpenResult::kNoServer;
    }
    pa_context_set_state_callback(context_, OnContextEvent, loop_);
    const auto contextIs = [this](bool good) {
        const pa_context_state_t state = pa_context_get_state(context_);
        return good ? state == PA_CONTEXT_READY : !PA_CONTEXT_IS_GOOD(state);
    };
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
        !WaitUntil([&] { return contextIs(true); }, [&] { return contextIs(false); })) {
        return audio::OpenResult::kNoServer;
    }

    const pa_sample_spec sampleFormat{PA_SAMPLE_S16NE,
                                      static_cast<std::uint32_t>(format.sampleRate),
                                      static_cast<std::uint8_t>(format.channels)};
    constexpr std::uint32_t kServerDefault = static_cast<std::uint32_t>(-1);
    const pa_buffer_attr buffer{kServerDefault, BytesFor(format, kTargetBufferMs), kServerDefault,
                                kServerDefault, kServerDefault};
    frameBytes_ = static_cast<std::size_t>(format.channels) * sizeof(std::int16_t);
    stream_ = pa_stream_new(context_, "clip", &sampleFormat, nullptr);
    if (stream_ == nullptr) {
        return audio::OpenResult::kRefused;
    }
    pa_stream_set_state_callback(stream_, OnStreamEvent, loop_);
    pa_stream_set_write_callback(stream_, OnStreamRoom, loop_);
    const auto streamIs = [this](bool good) {
        const pa_stream_state_t state = pa_stream_get_state(stream_);
        return good ? state == PA_STREAM_READY : !PA_STREAM_IS_GOOD(state);
    };
    if (pa_stream_connect_playback(stream_, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY, nullptr,
                                   nullptr) < 0 ||
        !WaitUntil([&] { return streamIs(true); }, [&] { return streamIs(false); })) {
        return audio::OpenResult::kRefused;
    }
    return audio::OpenResult::kOpened;
}

bool PulseOutput::Write(std::span<const std::int16_t> samples) {
    if (stream_ == nullptr) {
        return false;
    }
    pa_threaded_mainloop_lock(loop_);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(samples.data());
    std::size_t left = samples.size_bytes();
    bool ok = true;
    while (left > 0) {
        if (aborted_ || pa_stream_get_state(stream_) != PA_STREAM_READY) {
            ok = false;
            break;
        }
        const std::size_t room = pa_stream_writable_size(stream_);
        std::size_t count = room == static_cast<std::size_t>(-1) ? 0 : std::min(room, left);
        count -= count % frameBytes_;
        if (count == 0) {
            pa_threaded_mainloop_wait(loop_);  // woken when the server asks for more
            continue;
        }
        if (pa_stream_write(stream_, bytes, count, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
            ok = false;
            break;
        }
        bytes += count;
        left -= count;
    }
    pa_threaded_mainloop_unlock(loop_);
    return ok;
}

bool PulseOutput::Drain() {
    if (stream_ == nullptr) {
        return false;
    }
    pa_threaded_mainloop_lock(loop_);
    DrainState state{loop_};
    pa_operation* drain = pa_stream_drain(stream_, OnDrained, &state);
    while (drain != nullptr && pa_operation_get_state(drain) == PA_OPERATION_RUNNING && !aborted_ &&
           PA_STREAM_IS_GOOD(pa_stream_get_state(stream_))) {
        pa_threaded_mainloop_wait(loop_);
    }
    if (drain != nullptr) {
        pa_operation_cancel(drain);  // no effect once done; else the callback never comes
        pa_operation_unref(drain);
    }
    const bool drained = state.drained && !aborted_;
    pa_threaded_mainloop_unlock(loop_);
    return drained;
}

void PulseOutput::Close() {
    std::lock_guard guard(loopMutex_);
    if (loop_ == nullptr) {
        return;
    }
    pa_threaded_mainloop_lock(loop_);
    if (stream_ != nullptr) {
        pa_stream_disconnect(stream_);  // what is queued is dropped with it
        pa_stream_unref(stream_);
        stream_ = nullptr;
    }
    if (context_ != nullptr) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }
    pa_threaded_mainloop_unlock(loop_);
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
    loop_ = nullptr;
}

void PulseOutput::Abort() {
    aborted_ = true;
    std::lock_guard guard(loopMutex_);
    if (loop_ != nullptr) {
        pa_threaded_mainloop_lock(loop_);
        pa_threaded_mainloop_signal(loop_, 0);
        pa_threaded_mainloop_unlock(loop_);
    }
}

}  // namespace horalia::linux_audio

namespace horalia {

ClipPlayer& SystemClipPlayer() {
    static linux_audio::PulseOutput output;
    static audio::SentencePlayer player(output, linux_audio::ReadClipFile, audio::ConvertPcm);
    return player;
}

}  // namespace horalia
