// horalia-say --check-time: asks a Daytime or NTP server once and tells how far this computer's
// clock is off. It never sets the clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/zone_clock.h"
#include "timesync/daytime_exchange.h"
#include "timesync/time_sync.h"
#include "tools/say/say_options.h"

namespace horalia::say {

// One blocking connection, every wait bounded (defined in linux/ and win32/): TCP that only
// receives, or UDP that sends one datagram and receives.
class DaytimeConnection {
  public:
    virtual ~DaytimeConnection() = default;
    enum class Wait { kData, kClosed, kTimedOut };
    // Drops any earlier connection, looks the name up and connects within the time given;
    // false when that fails.
    virtual bool Connect(const std::string& host, std::uint16_t port, Transport transport,
                         std::int32_t withinMilliseconds) = 0;
    // UDP: sends one datagram.
    virtual void Send(std::string_view datagram) = 0;
    // Waits up to the time given and appends what arrived, at most maxBytes (UDP: one datagram).
    // A connection reset, or a port that refuses datagrams, counts as closed.
    virtual Wait Receive(std::string& data, std::size_t maxBytes,
                         std::int32_t withinMilliseconds) = 0;
};

std::unique_ptr<DaytimeConnection> SystemDaytimeConnection();

// The exit status when a time was understood but the hourly synchronisation would not set it.
inline constexpr int kCheckTimeTooFar = 4;

struct CheckTimeReport {
    int status = 0;      // 0: a time was understood; 1: no time; kCheckTimeTooFar
    std::string output;  // the lines for stdout, when a time was understood
    std::string error;   // the message for stderr, on failure
};

// Asks the servers in turn until one gives a time, all within the timeout.
CheckTimeReport CheckTime(DaytimeConnection& connection, const ZoneClock& clock,
                          const std::vector<ServerAddress>& servers,
                          std::int32_t timeoutMilliseconds = kReplyTimeoutMilliseconds);

}  // namespace horalia::say
