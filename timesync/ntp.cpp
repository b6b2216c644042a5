#include "timesync/ntp.h"

#include <algorithm>
#include <random>

namespace horalia {
namespace {

// Seconds from 1900-01-01 to 1970-01-01.
constexpr std::int64_t kUnixEpochInNtpSeconds = 2208988800;
constexpr std::int64_t kEraSeconds = std::int64_t{1} << 32;
constexpr int kServerMode = 4;
constexpr int kClientMode = 3;
constexpr int kVersion = 4;
constexpr int kUnsynchronisedLeap = 3;
constexpr int kUnsynchronisedStratum = 16;

std::uint32_t Word(std::string_view bytes, std::size_t at) {
    std::uint32_t word = 0;
    for (std::size_t i = 0; i < 4; ++i)
        word = (word << 8) | static_cast<unsigned char>(bytes[at + i]);
    return word;
}

NtpTimestamp TimestampAt(std::string_view bytes, std::size_t at) {
    return {Word(bytes, at), Word(bytes, at + 4)};
}

void PutWord(std::string& bytes, std::size_t at, std::uint32_t word) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((word >> (24 - 8 * i)) & 0xFF);
}

}  // namespace

NtpTimestamp ToNtpTimestamp(UtcMilliseconds instant) {
    const std::int64_t seconds = instant / 1000 - (instant % 1000 < 0 ? 1 : 0);
    const std::int64_t milliseconds = instant - seconds * 1000;
    const std::uint64_t fraction = (static_cast<std::uint64_t>(milliseconds) << 32) / 1000;
    return {static_cast<std::uint32_t>((seconds + kUnixEpochInNtpSeconds) % kEraSeconds),
            static_cast<std::uint32_t>(fraction)};
}

std::int64_t NtpMicroseconds(NtpTimestamp timestamp, UtcMilliseconds near) {
    // The 32-bit seconds wrap every 136 years (first in 2036): take the wrap nearest `near`.
    const std::int64_t nearSeconds = near / 1000 + kUnixEpochInNtpSeconds;
    std::int64_t seconds = (nearSeconds / kEraSeconds) * kEraSeconds + timestamp.seconds;
    if (seconds - nearSeconds > kEraSeconds / 2)
        seconds -= kEraSeconds;
    else if (nearSeconds - seconds > kEraSeconds / 2)
        seconds += kEraSeconds;
    const std::int64_t micro = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(timestamp.fraction) * 1000000 + (std::uint64_t{1} << 31)) >>
        32);
    return (seconds - kUnixEpochInNtpSeconds) * 1000000 + micro;
}

std::string MakeNtpRequest(NtpTimestamp transmit) {
    std::string request(kNtpPacketBytes, '\0');
    request[0] = static_cast<char>((kVersion << 3) | kClientMode);  // leap indicator 0
    PutWord(request, 40, transmit.seconds);
    PutWord(request, 44, transmit.fraction);
    return request;
}

NtpReply ReadNtpReply(std::string_view datagram, NtpTimestamp sent, UtcMilliseconds receivedAt) {
    NtpReply reply;
    if (datagram.size() < kNtpPacketBytes)
        return reply;
    const int first = static_cast<unsigned char>(datagram[0]);
    const int leap = first >> 6;
    const int version = (first >> 3) & 7;
    const int mode = first & 7;
    const NtpTimestamp origin = TimestampAt(datagram, 24);
    const NtpTimestamp receive = TimestampAt(datagram, 32);
    const NtpTimestamp transmit = TimestampAt(datagram, 40);
    if (mode != kServerMode || version < 3 || version > kVersion || transmit == NtpTimestamp{} ||
        receive == NtpTimestamp{})
        return reply;
    // A reply that does not echo the request's stamp answers another request, or none.
    if (origin != sent) {
        reply.status = NtpReply::Status::kNotOurs;
        return reply;
    }
    reply.stratum = static_cast<unsigned char>(datagram[1]);
    if (reply.stratum == 0) {
        reply.status = NtpReply::Status::kKissOfDeath;
        for (const char c : datagram.substr(12, 4)) {
            if (c >= 0x20 && c < 0x7F)
                reply.kissCode += c;
        }
        return reply;
    }
    if (leap == kUnsynchronisedLeap || reply.stratum >= kUnsynchronisedStratum) {
        reply.status = NtpReply::Status::kUnsynchronised;
        return reply;
    }
    // RFC 5905: offset = ((T2 - T1) + (T3 - T4)) / 2, delay = (T4 - T1) - (T3 - T2).
    const std::int64_t t1 = NtpMicroseconds(sent, receivedAt);
    const std::int64_t t2 = NtpMicroseconds(receive, receivedAt);
    const std::int64_t t3 = NtpMicroseconds(transmit, receivedAt);
    const std::int64_t t4 = receivedAt * 1000;
    if (t3 < t2)
        return reply;  // the server cannot have sent its reply before it had the request
    reply.offsetMicroseconds = ((t2 - t1) + (t3 - t4)) / 2;
    reply.delayMicroseconds = (t4 - t1) - (t3 - t2);
    reply.status = NtpReply::Status::kTime;
    return reply;
}

void NtpExchange::Reset() {
    requested_ = false;
    strayDatagram_ = false;
    reply_.reset();
}

std::string NtpExchange::Request() {
    sent_ = ToNtpTimestamp(clock_.UtcNow());
    // The fraction's low bits, far below a millisecond, are chance: a reply must echo them, which
    // one who only guesses at the request cannot.
    static std::random_device chance;
    sent_.fraction = (sent_.fraction & ~0xFFFFFu) | (chance() & 0xFFFFFu);
    requested_ = true;
    reply_.reset();
    return MakeNtpRequest(sent_);
}

bool NtpExchange::Received(std::string_view datagram) {
    if (!requested_ || reply_)
        return reply_.has_value();
    const UtcMilliseconds now = clock_.UtcNow();
    NtpReply reply = ReadNtpReply(datagram, sent_, now);
    if (reply.status == NtpReply::Status::kNotAReply ||
        reply.status == NtpReply::Status::kNotOurs) {
        strayDatagram_ = true;
        return false;
    }
    reply_ = std::move(reply);
    receivedAt_ = now;
    return true;
}

TimeReading NtpExchange::Finish(ExchangeEnd end) const {
    TimeReading r;
    if (!reply_) {
        r.status = end == ExchangeEnd::kTimedOut
                       ? (strayDatagram_ ? ReadingStatus::kNotUnderstood : ReadingStatus::kSilent)
                       : ReadingStatus::kUnreachable;
        return r;
    }
    switch (reply_->status) {
        case NtpReply::Status::kKissOfDeath:
            r.status = ReadingStatus::kRefused;
            r.reply = reply_->kissCode;
            return r;
        case NtpReply::Status::kUnsynchronised:
            r.status = ReadingStatus::kUnhealthy;
            r.health = reply_->stratum;
            return r;
        default:
            break;
    }
    r.utc = true;
    r.roundTripMicroseconds = std::max<std::int64_t>(reply_->delayMicroseconds, 0);  // ms clock
    r.offsetMilliseconds =
        (reply_->offsetMicroseconds + (reply_->offsetMicroseconds < 0 ? -500 : 500)) / 1000;
    r.local = clock_.ToLocal(receivedAt_ + r.offsetMilliseconds);
    const std::optional<ClockValue> value = ServerTimeNow(clock_, r);
    r.status = value ? ReadingStatus::kTime : ReadingStatus::kNotUnderstood;
    if (value)
        r.value = *value;
    return r;
}

}  // namespace horalia
