// Test doubles of the time synchronisation's ports: a socket whose waiting data the test sets,
// a clock setter that records what it was given, a timer that only remembers its state, and a
// zone clock with rules the test writes down.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/zone_clock.h"
#include "timesync/time_sync.h"

namespace horalia::fakes {

class FakeTimeSocket : public TimeSocket {
  public:
    struct Connection {
        std::string host;
        std::uint16_t port = 0;
        Transport transport = Transport::kStream;
    };

    bool IsClosed() const override { return closed; }
    void Connect(const std::string& host, std::uint16_t port, Transport transport) override {
        connections.push_back({host, port, transport});
        closed = false;
    }
    void Send(std::string_view datagram) override { sent.emplace_back(datagram); }
    // A stream's waiting text, or the first waiting datagram.
    std::string ReadAll(std::size_t maxBytes) override {
        readLimits.push_back(maxBytes);
        if (!connections.empty() && connections.back().transport == Transport::kDatagram) {
            if (datagrams.empty())
                return "";
            std::string datagram = datagrams.front().substr(0, maxBytes);
            datagrams.erase(datagrams.begin());
            return datagram;
        }
        std::string data = waiting.substr(0, maxBytes);
        waiting.erase(0, data.size());
        return data;
    }
    void Close() override {
        ++closeCalls;
        closed = true;
        waiting.clear();
        datagrams.clear();
    }

    bool closed = true;
    std::string waiting;  // what the "server" has sent and nobody has read yet
    std::vector<std::string> datagrams;
    std::vector<std::string> sent;
    std::vector<Connection> connections;
    std::vector<std::size_t> readLimits;
    int closeCalls = 0;
};

class FakeClockSetter : public ClockSetter {
  public:
    struct Call {
        ClockValue value;
        ClockBase base;
        bool mayAsk;
    };
    ClockSetResult SetClock(const ClockValue& value, ClockBase base, bool mayAsk) override {
        calls.push_back({value, base, mayAsk});
        return result;
    }

    ClockSetResult result = ClockSetResult::kSet;
    std::vector<Call> calls;
};

// Notes this computer's own time, in the base asked for, as each value is handed over: what a
// real server's time is checked against.
class StampingClockSetter : public ClockSetter {
  public:
    explicit StampingClockSetter(const ZoneClock& clock) : clock_(clock) {}
    ClockSetResult SetClock(const ClockValue& v, ClockBase base, bool) override {
        const UtcMilliseconds now = clock_.UtcNow();
        expected = base == ClockBase::kUtc ? now : CivilMilliseconds(clock_.ToLocal(now));
        value =
            CivilMilliseconds({v.year, v.month, v.day, v.hour, v.minute, v.second, v.milliseconds});
        return ClockSetResult::kSet;
    }

    std::optional<std::int64_t> expected;  // civil milliseconds
    std::int64_t value = 0;

  private:
    const ZoneClock& clock_;
};

// What a TimeSync reports: every outcome with who asked, and every question it would ask.
class RecordingSyncListener : public TimeSyncListener {
  public:
    void OnTimeSyncFinished(const TimeSyncOutcome& outcome, SyncTrigger trigger) override {
        outcomes.push_back(outcome);
        triggers.push_back(trigger);
    }
    void OnLargeStepQuestion(const TimeSyncOutcome& outcome) override {
        questions.push_back(outcome);
    }
    std::vector<TimeSyncOutcome> outcomes;
    std::vector<SyncTrigger> triggers;
    std::vector<TimeSyncOutcome> questions;
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

// A zone given as its offsets from UTC, each in force from an instant on (the first from always).
struct ZoneRules {
    std::vector<std::pair<UtcMilliseconds, int>> offsetMinutesFrom;
};

inline UtcMilliseconds UtcAt(int year, int month, int day, int hour, int minute, int second,
                             int millisecond = 0) {
    return CivilMilliseconds({year, month, day, hour, minute, second, millisecond});
}

class FakeZoneClock : public ZoneClock {
  public:
    UtcMilliseconds UtcNow() const override { return now; }
    Moment ToLocal(UtcMilliseconds instant) const override {
        int minutes = zone.offsetMinutesFrom.front().second;
        for (const auto& [from, offset] : zone.offsetMinutesFrom) {
            if (instant >= from)
                minutes = offset;
        }
        return CivilMoment(instant + std::int64_t{minutes} * 60000);
    }
    std::optional<UtcMilliseconds> FromLocal(const Moment& local) const override {
        for (const auto& [from, offset] : zone.offsetMinutesFrom) {
            const UtcMilliseconds instant = CivilMilliseconds(local) - std::int64_t{offset} * 60000;
            if (ToLocal(instant) == local)
                return instant;
        }
        return std::nullopt;
    }

    ZoneRules zone{{{0, 0}}};
    UtcMilliseconds now = UtcAt(2026, 12, 7, 9, 0, 0);
};

}  // namespace horalia::fakes
