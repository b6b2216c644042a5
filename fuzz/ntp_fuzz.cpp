#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "common/moment.h"
#include "timesync/ntp.h"

namespace {

// This computer's clock in the fuzzer: UTC, standing at the moment the reply arrives.
class FixedUtcClock : public horalia::ZoneClock {
  public:
    horalia::UtcMilliseconds UtcNow() const override { return now; }
    horalia::Moment ToLocal(horalia::UtcMilliseconds instant) const override {
        return horalia::CivilMoment(instant);
    }
    std::optional<horalia::UtcMilliseconds> FromLocal(const horalia::Moment& local) const override {
        return horalia::CivilMilliseconds(local);
    }
    horalia::UtcMilliseconds now = 1796700000000;  // December 2026
};

}  // namespace

// The input is a datagram from the server. Its origin field is taken as the request's stamp, so
// that the reading goes past that check; the first byte past the packet, when there is one,
// moves this clock by up to 136 years to cross NTP's era boundary.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view datagram(reinterpret_cast<const char*>(data), size);
    horalia::NtpTimestamp sent;
    if (size >= horalia::kNtpPacketBytes) {
        for (std::size_t i = 0; i < 4; ++i) {
            sent.seconds = (sent.seconds << 8) | data[24 + i];
            sent.fraction = (sent.fraction << 8) | data[28 + i];
        }
    }
    FixedUtcClock clock;
    if (size > horalia::kNtpPacketBytes)
        clock.now += static_cast<std::int64_t>(data[horalia::kNtpPacketBytes]) * 200 * 86400000;
    const horalia::NtpReply reply = horalia::ReadNtpReply(datagram, sent, clock.now);
    const bool kiss = reply.status == horalia::NtpReply::Status::kKissOfDeath;
    if (reply.kissCode.size() > 4 || (kiss && reply.stratum != 0) ||
        (reply.status == horalia::NtpReply::Status::kTime && reply.stratum >= 16))
        std::abort();
    for (const char c : reply.kissCode) {
        if (c < 0x20 || c >= 0x7F)
            std::abort();
    }

    // The whole exchange, from a request whose stamp the datagram need not echo.
    horalia::NtpExchange exchange(clock);
    (void)exchange.Request();
    exchange.Received(datagram);
    const horalia::TimeReading r = exchange.Finish(horalia::ExchangeEnd::kTimedOut);
    if (r.status == horalia::ReadingStatus::kTime) {
        const horalia::ClockValue& v = r.value;
        if (!horalia::IsValidMoment({v.year, v.month, v.day, v.hour, v.minute, v.second, 0}))
            std::abort();
    }
    return 0;
}
