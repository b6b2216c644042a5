// Test doubles of the voice's ports: a player that records what it was asked to play and a pump
// whose pending events are plain callbacks, so that tests can run handlers between two clips.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "voice/clip_player.h"

namespace horalia::fakes {

class FakeClipPlayer : public ClipPlayer {
  public:
    struct Call {
        std::string path;
        std::int32_t flags = 0;
    };

    void Play(const std::string& path, std::int32_t flags) override {
        calls.push_back({path, flags});
        if (onPlay) {
            onPlay(path, calls.size() - 1);
        }
    }

    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const Call& call : calls) {
            paths.push_back(call.path);
        }
        return paths;
    }

    std::vector<Call> calls;
    // Runs while the clip "plays" (after it is recorded), with its index among all calls.
    std::function<void(const std::string& path, std::size_t index)> onPlay;
};

class FakeEventPump : public EventPump {
  public:
    // Queues an event; it runs at the next pass of the pump.
    void Post(std::function<void()> event) { pending_.push_back(std::move(event)); }

    void ProcessPendingEvents() override {
        ++passes;
        while (!pending_.empty()) {
            std::function<void()> event = std::move(pending_.front());
            pending_.pop_front();
            event();
        }
    }

    std::size_t Pending() const { return pending_.size(); }

    int passes = 0;

  private:
    std::deque<std::function<void()>> pending_;
};

}  // namespace horalia::fakes
