#include "timesync/daytime_exchange.h"

#include <algorithm>
#include <optional>

namespace horalia {
namespace {

constexpr std::string_view kLineEnds = "\r\n";
constexpr std::int64_t kMiddleOfSecond = 500;

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

std::optional<ClockValue> ServerTimeNow(const ZoneClock& clock, const TimeReading& reading) {
    const UtcMilliseconds now = clock.UtcNow();
    if (reading.utc)
        return ToClockValue(CivilMoment(now + reading.offsetMilliseconds));
    return ToClockValue(
        CivilMoment(CivilMilliseconds(clock.ToLocal(now)) + reading.offsetMilliseconds));
}

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
    return reply_.size() >= kMaxReplyBytes || LineEnded();
}

bool DaytimeExchange::LineEnded() const {
    const std::size_t text = reply_.find_first_not_of(kLineEnds);
    return text != std::string::npos && reply_.find_first_of(kLineEnds, text) != std::string::npos;
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
    // A line the time ran out in may be cut anywhere: "14:30:5", or a year "20" of "2026".
    if (end == ExchangeEnd::kTimedOut && !LineEnded()) {
        r.status = ReadingStatus::kCutOff;
        return r;
    }

    // The server stamps its reply when the connection is made: half the way back is added. A
    // stamp in whole seconds was made somewhere within its second: its middle is the best guess.
    const UtcMilliseconds start = isConnected_ ? connected_ : begun_;
    const std::int64_t halfTrip =
        std::clamp<std::int64_t>(firstData_ - start, 0, kReplyTimeoutMilliseconds) / 2;
    std::optional<UtcMilliseconds> serverUtc;  // the server's time at the first data, as UTC
    std::optional<std::int64_t> serverLocal;   // or as local time, counted as civil time
    if (const auto nist = ParseNistDaytimeReply(reply_)) {
        r.health = nist->health;
        if (nist->health != 0) {
            r.status = ReadingStatus::kUnhealthy;
            return r;
        }
        // NIST advanced its stamp by its own guess of the delay; the measured one replaces it.
        serverUtc = CivilMilliseconds(ToMoment(nist->utc)) + kMiddleOfSecond -
                    nist->advanceMilliseconds + halfTrip;
    } else if (const auto reply = ParseDaytimeReply(reply_)) {
        const std::int64_t stamp = CivilMilliseconds(ToMoment(reply->value)) +
                                   (reply->hasFraction ? 0 : kMiddleOfSecond) + halfTrip;
        if (reply->utcOffsetMinutes) {
            r.serverUtcOffsetMinutes = *reply->utcOffsetMinutes;
            serverUtc = stamp - std::int64_t{r.serverUtcOffsetMinutes} * 60000;
        } else {
            serverLocal = stamp;
        }
    }

    if (serverUtc) {
        r.utc = true;
        r.offsetMilliseconds = *serverUtc - firstData_;
        r.local = clock_.ToLocal(*serverUtc);
    } else if (serverLocal) {
        r.offsetMilliseconds = *serverLocal - CivilMilliseconds(clock_.ToLocal(firstData_));
        r.local = CivilMoment(*serverLocal);
    }
    const std::optional<ClockValue> value =
        serverUtc || serverLocal ? ServerTimeNow(clock_, r) : std::nullopt;
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
