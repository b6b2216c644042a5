#include "timesync/daytime_exchange.h"

#include <algorithm>
#include <optional>

namespace horalia {
namespace {

constexpr std::string_view kLineEnds = "\r\n";

Moment ToMoment(const ClockValue& v) {
    return {v.year, v.month, v.day, v.hour, v.minute, v.second, v.milliseconds};
}

std::optional<ClockValue> ToClockValue(const Moment& m) {
    if (!IsValidMoment(m))
        return std::nullopt;
    return ClockValue{static_cast<std::uint16_t>(m.year),
                      static_cast<std::uint16_t>(m.month),
                      0,
                      static_cast<std::uint16_t>(m.day),
                      static_cast<std::uint16_t>(m.hour),
                      static_cast<std::uint16_t>(m.minute),
                      static_cast<std::uint16_t>(m.second),
                      static_cast<std::uint16_t>(m.millisecond)};
}

}  // namespace

void DaytimeExchange::Begin() {
    reply_.clear();
    begun_ = clock_.UtcNow();
    isConnected_ = false;
}

void DaytimeExchange::Connected() {
    connected_ = clock_.UtcNow();
    isConnected_ = true;
}

bool DaytimeExchange::Received(std::string_view piece) {
    if (piece.empty())
        return false;
    if (reply_.empty())
        firstData_ = clock_.UtcNow();
    reply_.append(piece.substr(0, Room()));
    const std::size_t text = reply_.find_first_not_of(kLineEnds);
    return reply_.size() >= kMaxReplyBytes ||
           (text != std::string::npos &&
            reply_.find_first_of(kLineEnds, text) != std::string::npos);
}

TimeReading DaytimeExchange::Finish(ExchangeEnd end) const {
    TimeReading r;
    r.reply = reply_;
    if (end == ExchangeEnd::kConnectFailed) {
        r.status = ReadingStatus::kUnreachable;
        return r;
    }
    if (reply_.empty()) {
        r.status = end == ExchangeEnd::kClosedByPeer ? ReadingStatus::kClosedWithoutData
                                                     : ReadingStatus::kSilent;
        return r;
    }

    // The server stamps its reply when the connection is made: half the way back is added.
    const UtcMilliseconds start = isConnected_ ? connected_ : begun_;
    const std::int64_t halfTrip =
        std::clamp<std::int64_t>(firstData_ - start, 0, kReplyTimeoutMilliseconds) / 2;
    const UtcMilliseconds now = clock_.UtcNow();
    std::string_view text = reply_;
    text.remove_prefix(std::min(text.size(), text.find_first_not_of(kLineEnds)));

    std::optional<ClockValue> value;
    if (const auto nist = ParseNistDaytimeReply(text)) {
        r.health = nist->health;
        if (nist->health != 0) {
            r.status = ReadingStatus::kUnhealthy;
            return r;
        }
        // NIST advanced its stamp by its own guess of the delay; the measured one replaces it.
        const UtcMilliseconds server =
            CivilMilliseconds(ToMoment(nist->utc)) - nist->advanceMilliseconds + halfTrip;
        r.utc = true;
        r.offsetMilliseconds = server - firstData_;
        r.local = clock_.ToLocal(server);
        value = ToClockValue(CivilMoment(now + r.offsetMilliseconds));
    } else if (const auto local = ParseDaytimeReply(text)) {
        const std::int64_t server = CivilMilliseconds(ToMoment(*local)) + halfTrip;
        r.offsetMilliseconds = server - CivilMilliseconds(clock_.ToLocal(firstData_));
        r.local = CivilMoment(server);
        value = ToClockValue(
            CivilMoment(CivilMilliseconds(clock_.ToLocal(now)) + r.offsetMilliseconds));
    }
    if (!value) {
        r.status = ReadingStatus::kNotUnderstood;
        r.offsetMilliseconds = 0;
        return r;
    }
    r.status = ReadingStatus::kTime;
    r.value = *value;
    return r;
}

}  // namespace horalia
