// One Daytime exchange from the request to its end: gathers the reply as it arrives, in as many
// pieces as TCP delivers it, decides when it is complete, and reads the server's time out of it,
// measured against this computer's clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/zone_clock.h"
#include "timesync/daytime.h"

namespace horalia {

// How long one exchange may take from the request to the reply before it is given up.
inline constexpr std::int32_t kReplyTimeoutMilliseconds = 10000;

enum class ExchangeEnd {
    kComplete,       // the line ended, or 4 KiB arrived
    kClosedByPeer,   // the server closed the connection
    kTimedOut,       // the time for the exchange ran out
    kConnectFailed,  // no connection: unknown name, refused, unreachable
};

enum class ReadingStatus {
    kTime,               // a time was understood
    kUnreachable,        // no connection could be made
    kSilent,             // connected, but nothing arrived in time
    kClosedWithoutData,  // the server closed without sending anything
    kNotUnderstood,      // the reply has neither layout, or names an impossible time
    kCutOff,             // the time ran out before the reply's line ended
    kRefused,            // an NTP server's kiss-o'-death (its code in `reply`)
    kUnhealthy,          // NIST's layout with a health code other than 0
};

struct TimeReading {
    ReadingStatus status = ReadingStatus::kNotUnderstood;
    // A reply in UTC (NIST's) or naming its zone: `value` is UTC; otherwise it is local time.
    bool utc = false;
    // The server's zone, minutes east of UTC, when `utc`.
    std::int32_t serverUtcOffsetMinutes = 0;
    // The server's time at the moment the reading was made, half the round trip added.
    ClockValue value{};
    // The server's time at the reply's arrival, as local time.
    Moment local;
    // The server's time minus this computer's: positive when this clock is behind.
    std::int64_t offsetMilliseconds = 0;
    // NTP: the way there and back, without the server's own time; the offset may be wrong by up
    // to half of it.
    std::int64_t roundTripMicroseconds = 0;
    int health = 0;     // NIST's health code, or an unsynchronised NTP server's stratum
    std::string reply;  // what arrived, at most 4 KiB
};

// The server's time now, by the offset a reading found: UTC when the reading's was, else local
// time. Nothing when that is not a date a clock can show.
std::optional<ClockValue> ServerTimeNow(const ZoneClock& clock, const TimeReading& reading);

class DaytimeExchange {
  public:
    explicit DaytimeExchange(const ZoneClock& clock) : clock_(clock) {}

    // The request: a new exchange begins and the last one is forgotten.
    void Begin();
    // The connection is made; the round trip is counted from here.
    void Connected();
    // Adds a piece of the reply. True when the reply is complete: a line has ended after some
    // text (leading line ends are skipped, as NIST sends one), or 4 KiB have arrived.
    bool Received(std::string_view piece);
    // How much more of the reply is taken.
    std::size_t Room() const { return kMaxReplyBytes - reply_.size(); }
    // Reads the time out of what arrived, as far as the way the exchange ended allows.
    TimeReading Finish(ExchangeEnd end) const;

  private:
    bool LineEnded() const;

    const ZoneClock& clock_;
    std::string reply_;
    UtcMilliseconds begun_ = 0;
    UtcMilliseconds connected_ = 0;
    UtcMilliseconds firstData_ = 0;
    bool isConnected_ = false;
};

}  // namespace horalia
