// Test doubles of the voice's ports: a player that records what it was handed and says at once
// that each part is queued, and a pump whose pending events are plain callbacks, so that tests
// run the user-interface thread's side step by step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "common/event_pump.h"
#include "common/ui_thread.h"
#include "voice/clip_player.h"

namespace horalia::fakes {

class FakeClipPlayer : public ClipPlayer {
  public:
    void Play(SentencePart part, PartQueued queued) override {
        for (const std::string& path : part.clips) {
            paths.push_back(path);
            volumes.push_back(part.volume);
            if (onPlay) {
                onPlay(path, paths.size() - 1);
            }
        }
        if (queued) {
            queued(end);
        }
    }
    bool Finish() override { return true; }
    void Stop() override { ++stops; }

    std::vector<std::string> Paths() const { return paths; }

    std::vector<std::string> paths;
    std::vector<std::int32_t> volumes;  // one per path
    PartEnd end = PartEnd::kPlayed;     // what each part comes to
    int stops = 0;
    // Runs as the clip is handed, with its index among all clips.
    std::function<void(const std::string& path, std::size_t index)> onPlay;
};

// Runs each task at once: with FakeClipPlayer, a whole announcement happens inside Announce.
class ImmediateUiThread : public UiThread {
  public:
    void Post(std::function<void()> task) override { task(); }
};

class FakeEventPump : public EventPump, public UiThread {
  public:
    // Queues an event; it runs at the next pass of the pump.
    void Post(std::function<void()> event) override {
        std::lock_guard lock(mutex_);
        pending_.push_back(std::move(event));
    }

    void ProcessPendingEvents() override {
        ++passes;
        for (;;) {
            std::function<void()> event;
            {
                std::lock_guard lock(mutex_);
                if (pending_.empty()) {
                    return;
                }
                event = std::move(pending_.front());
                pending_.pop_front();
            }
            event();
        }
    }

    std::size_t Pending() const {
        std::lock_guard lock(mutex_);
        return pending_.size();
    }

    int passes = 0;

  private:
    mutable std::mutex mutex_;
    std::deque<std::function<void()>> pending_;
};

}  // namespace horalia::fakes
