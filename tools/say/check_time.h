// horalia-say --check-time: asks a Daytime server once and tells how far this computer's clock is
// off. It never sets the clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "common/zone_clock.h"
#include "timesync/daytime_exchange.h"
#include "tools/say/say_options.h"

namespace horalia::say {

// One blocking TCP connection that only receives, every wait bounded (defined in linux/ and
// win32/).
class DaytimeConnection {
  public:
    virtual ~DaytimeConnection() = default;
    enum class Wait { kData, kClosed, kTimedOut };
    // Looks the name up and connects within the time given; false when that fails.
    virtual bool Connect(const std::string& host, std::uint16_t port,
                         std::int32_t withinMilliseconds) = 0;
    // Waits up to the time given and appends what arrived, at most maxBytes. A connection reset
    // counts as closed.
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

CheckTimeReport CheckTime(DaytimeConnection& connection, const ZoneClock& clock,
                          const ServerAddress& server,
                          std::int32_t timeoutMilliseconds = kReplyTimeoutMilliseconds);

}  // namespace horalia::say
