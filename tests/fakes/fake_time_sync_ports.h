// Test doubles of the time synchronisation's ports: a socket whose waiting data the test sets,
// a clock setter that records what it was given, and a timer that only remembers its state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "timesync/time_sync.h"

namespace horalia::fakes {

class FakeTimeSocket : public TimeSocket {
  public:
    struct Connection {
        std::string host;
        std::uint16_t port = 0;
    };

    bool IsClosed() const override { return closed; }
    void Connect(const std::string& host, std::uint16_t port) override {
        connections.push_back({host, port});
        closed = false;
    }
    std::string ReadAll(std::size_t maxBytes) override {
        readLimits.push_back(maxBytes);
        std::string data = waiting.substr(0, maxBytes);
        waiting.erase(0, data.size());
        return data;
    }
    void Close() override {
        ++closeCalls;
        closed = true;
        waiting.clear();
    }

    bool closed = true;
    std::string waiting;  // what the "server" has sent and nobody has read yet
    std::vector<Connection> connections;
    std::vector<std::size_t> readLimits;
    int closeCalls = 0;
};

class FakeClockSetter : public LocalClockSetter {
  public:
    bool SetLocalClock(const ClockValue& value) override {
        values.push_back(value);
        return accept;
    }

    bool accept = true;
    std::vector<ClockValue> values;
};

class FakeOneShotTimer : public OneShotTimer {
  public:
    void Start(std::int32_t milliseconds) override {
        running = true;
        lastMilliseconds = milliseconds;
    }
    void Stop() override { running = false; }

    bool running = false;
    std::int32_t lastMilliseconds = 0;
};

}  // namespace horalia::fakes
