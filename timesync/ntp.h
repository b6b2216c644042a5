// The client side of SNTP (RFC 4330): a 48-byte mode 3 request, and the server's mode 4 reply read
// into the clock offset and round trip as RFC 5905 computes them from the four timestamps.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/zone_clock.h"
#include "timesync/daytime_exchange.h"

namespace horalia {

inline constexpr std::uint16_t kNtpPort = 123;
inline constexpr std::size_t kNtpPacketBytes = 48;

// 32 bits of seconds since 1900 (in the era nearest the time it is read against) and 32 of
// fraction.
struct NtpTimestamp {
    std::uint32_t seconds = 0;
    std::uint32_t fraction = 0;

    friend bool operator==(const NtpTimestamp&, const NtpTimestamp&) = default;
};

NtpTimestamp ToNtpTimestamp(UtcMilliseconds instant);
// The instant, in microseconds since 1970, of the era that puts it nearest `near`.
std::int64_t NtpMicroseconds(NtpTimestamp timestamp, UtcMilliseconds near);

// A request stamped with the client's transmit time; the server copies it into its reply's
// origin field, which is how the reply is known to answer it.
std::string MakeNtpRequest(NtpTimestamp transmit);

struct NtpReply {
    enum class Status {
        kTime,
        kNotAReply,       // too short, not mode 4, another version, no transmit time
        kNotOurs,         // the origin timestamp is not the request's transmit time
        kKissOfDeath,     // stratum 0: the server refuses (DENY, RSTR, RATE, ...)
        kUnsynchronised,  // leap indicator 3, or stratum 16 and above
    };
    Status status = Status::kNotAReply;
    int stratum = 0;
    std::string kissCode;  // the reference identifier of a kiss-o'-death, in ASCII
    // The server's clock minus this one's, and the round trip without the server's own time.
    std::int64_t offsetMicroseconds = 0;
    std::int64_t delayMicroseconds = 0;
};

// `sent`: the request's transmit timestamp, this clock when it left (T1); `receivedAt`: this
// clock when the reply came (T4).
NtpReply ReadNtpReply(std::string_view datagram, NtpTimestamp sent, UtcMilliseconds receivedAt);

// One SNTP exchange: the request, stamped as it leaves, and the replies that come, read against
// this computer's clock. Datagrams that do not answer the request are passed over.
class NtpExchange {
  public:
    explicit NtpExchange(const ZoneClock& clock) : clock_(clock) {}

    // A new exchange: forgets the last one.
    void Reset();
    // The request to send now; its transmit time is this clock's now.
    std::string Request();
    // A datagram came. True when it ends the exchange: the server's time, or its refusal.
    bool Received(std::string_view datagram);
    TimeReading Finish(ExchangeEnd end) const;

  private:
    const ZoneClock& clock_;
    NtpTimestamp sent_{};
    bool requested_ = false;
    bool strayDatagram_ = false;
    std::optional<NtpReply> reply_;
    UtcMilliseconds receivedAt_ = 0;
};

}  // namespace horalia
