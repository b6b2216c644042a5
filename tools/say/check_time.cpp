#include "tools/say/check_time.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "timesync/ntp.h"
#include "timesync/step_bound.h"
#include "timesync/time_server.h"

namespace horalia::say {
namespace {

// At most this much of a reply that was not understood is shown, control bytes escaped.
constexpr std::size_t kShownReplyBytes = 80;

std::string Printable(std::string_view reply) {
    std::string shown;
    for (const char c : reply.substr(0, kShownReplyBytes)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            shown += "\\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '"' || c == '\\') {
            shown += '\\';
            shown += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            shown += hex;
        } else {
            shown += c;
        }
    }
    return "\"" + shown + (reply.size() > kShownReplyBytes ? "\"..." : "\"");
}

// "UTC", "UTC+08:00", or "local time" for a reply that does not name its zone.
std::string ServerZone(const TimeReading& r) {
    if (!r.utc)
        return "local time";
    if (r.serverUtcOffsetMinutes == 0)
        return "UTC";
    const std::int32_t minutes = std::abs(r.serverUtcOffsetMinutes);
    char zone[16];
    std::snprintf(zone, sizeof zone, "UTC%c%02d:%02d", r.serverUtcOffsetMinutes < 0 ? '-' : '+',
                  static_cast<int>(minutes / 60), static_cast<int>(minutes % 60));
    return zone;
}

// The offset to a tenth of a second for Daytime's whole seconds, to a millisecond for NTP.
std::string OffsetText(std::int64_t offsetMilliseconds, bool milliseconds) {
    const std::int64_t unit = milliseconds ? 1 : 100;
    const std::int64_t perSecond = 1000 / unit;
    const std::int64_t magnitude =
        offsetMilliseconds < 0 ? -offsetMilliseconds : offsetMilliseconds;
    const std::int64_t units = (magnitude + unit / 2) / unit;
    char text[96];
    if (units == 0) {
        std::snprintf(text, sizeof text, "this computer's clock agrees to within %s seconds",
                      milliseconds ? "0.001" : "0.1");
    } else {
        std::snprintf(text, sizeof text, "this computer's clock is %lld.%0*lld seconds %s",
                      static_cast<long long>(units / perSecond), milliseconds ? 3 : 1,
                      static_cast<long long>(units % perSecond),
                      offsetMilliseconds > 0 ? "slow" : "fast");
    }
    return text;
}

std::string Describe(const TimeReading& r, const ServerAddress& server) {
    char when[48];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", r.local.year, r.local.month,
                  r.local.day, r.local.hour, r.local.minute, r.local.second);
    const bool ntp = server.protocol == TimeProtocol::kNtp;
    std::string text = std::string(when) + " (" + ServerName(server) + ", " + ServerZone(r) +
                       " on the server); " + OffsetText(r.offsetMilliseconds, ntp);
    if (ntp) {
        char trip[48];
        std::snprintf(trip, sizeof trip, " (round trip %.3f seconds)",
                      static_cast<double>(r.roundTripMicroseconds) / 1e6);
        text += trip;
    }
    return text;
}

// What the tray program would do with the offset, when it would not simply set the clock.
void AddStepVerdict(const TimeReading& r, CheckTimeReport& report) {
    switch (JudgeStep(r)) {
        case StepVerdict::kApply:
            return;
        case StepVerdict::kAskFirst:
            report.output +=
                "\nthe hourly synchronisation would not set this clock: it moves it by "
                "at most " +
                std::to_string(kMaxAutomaticStepMilliseconds / 1000) +
                " seconds; 网络校时 in the menu asks first";
            break;
        case StepVerdict::kNever:
            report.output +=
                "\nno synchronisation would set this clock from this server: its year " +
                std::to_string(r.local.year) + " is not within " +
                std::to_string(kEarliestTrustedYear) + " to " + std::to_string(kLatestTrustedYear);
            break;
    }
    report.status = kCheckTimeTooFar;
}

}  // namespace

namespace {

using Remaining = std::function<std::int32_t()>;

// Receives until `complete` takes what came (each piece handed as it arrives), the server closes,
// or the time left runs out; `room` says how many bytes the next piece may hold.
template <typename Room, typename Complete>
ExchangeEnd ReceiveUntil(DaytimeConnection& connection, Room room, const Remaining& left,
                         Complete complete) {
    for (;;) {
        std::string piece;
        const auto wait = connection.Receive(piece, room(), left());
        if (complete(piece)) {
            return ExchangeEnd::kComplete;
        }
        if (wait == DaytimeConnection::Wait::kClosed) {
            return ExchangeEnd::kClosedByPeer;
        }
        if (wait == DaytimeConnection::Wait::kTimedOut || left() == 0) {
            return ExchangeEnd::kTimedOut;
        }
    }
}

TimeReading AskDaytime(DaytimeConnection& connection, const ZoneClock& clock,
                       const ServerAddress& server, const Remaining& left) {
    DaytimeExchange exchange(clock);
    exchange.Begin();
    ExchangeEnd end = ExchangeEnd::kConnectFailed;
    if (connection.Connect(server.host, server.port, Transport::kStream, left())) {
        exchange.Connected();
        end = ReceiveUntil(
            connection, [&] { return exchange.Room(); }, left,
            [&](const std::string& piece) { return exchange.Received(piece); });
    }
    return exchange.Finish(end);
}

TimeReading AskNtp(DaytimeConnection& connection, const ZoneClock& clock,
                   const ServerAddress& server, const Remaining& left) {
    NtpExchange exchange(clock);
    ExchangeEnd end = ExchangeEnd::kConnectFailed;
    if (connection.Connect(server.host, server.port, Transport::kDatagram, left())) {
        connection.Send(exchange.Request());
        end = ReceiveUntil(
            connection, [] { return kMaxReplyBytes; }, left,
            [&](const std::string& datagram) {
                return !datagram.empty() && exchange.Received(datagram);
            });
    }
    return exchange.Finish(end);
}

std::string FailureText(const TimeReading& r, const ServerAddress& server,
                        std::int32_t timeoutMilliseconds) {
    const bool ntp = server.protocol == TimeProtocol::kNtp;
    const std::string name = ServerName(server);
    const std::string where =
        (ntp ? "ntp://" : "") + server.host + " port " + std::to_string(server.port);
    const std::string seconds = std::to_string((timeoutMilliseconds + 500) / 1000);
    switch (r.status) {
        case ReadingStatus::kTime:
            break;
        case ReadingStatus::kUnreachable:
            return "cannot connect to " + where +
                   ": the name is unknown, or the server refused or did not answer";
        case ReadingStatus::kSilent:
            return where + " sent nothing within " + seconds + " seconds";
        case ReadingStatus::kClosedWithoutData:
            return where + " closed the connection without sending a time";
        case ReadingStatus::kUnhealthy:
            return ntp ? name + " reports that it is not synchronised itself (stratum " +
                             std::to_string(r.health) + "); no time taken"
                       : name + " reports that its own time is not reliable (health " +
                             std::to_string(r.health) + "); no time taken";
        case ReadingStatus::kRefused:
            return name + " refuses to answer (kiss-o'-death " + Printable(r.reply) +
                   "); no time taken";
        case ReadingStatus::kCutOff:
            return "the reply of " + where + " did not end within " + seconds +
                   " seconds; a line cut off is not taken: " + Printable(r.reply);
        case ReadingStatus::kNotUnderstood:
            return ntp ? "nothing " + where + " sent answers the request as NTP does"
                       : "the reply of " + where +
                             " is not a time in a known layout: " + Printable(r.reply);
    }
    return "";
}

}  // namespace

CheckTimeReport CheckTime(DaytimeConnection& connection, const ZoneClock& clock,
                          const std::vector<ServerAddress>& servers,
                          std::int32_t timeoutMilliseconds) {
    const UtcMilliseconds deadline = clock.UtcNow() + timeoutMilliseconds;
    const Remaining left = [&] {
        return static_cast<std::int32_t>(
            std::clamp<std::int64_t>(deadline - clock.UtcNow(), 0, timeoutMilliseconds));
    };
    CheckTimeReport report{1, "", ""};
    for (std::size_t i = 0; i < servers.size(); ++i) {
        const ServerAddress& server = servers[i];
        // Each server gets an even share of the time left, so that a silent one leaves the
        // others theirs.
        const std::int32_t shareMilliseconds =
            left() / static_cast<std::int32_t>(servers.size() - i);
        const UtcMilliseconds share = clock.UtcNow() + shareMilliseconds;
        const Remaining leftForThis = [&] {
            return static_cast<std::int32_t>(
                std::clamp<std::int64_t>(share - clock.UtcNow(), 0, timeoutMilliseconds));
        };
        const TimeReading r = server.protocol == TimeProtocol::kNtp
                                  ? AskNtp(connection, clock, server, leftForThis)
                                  : AskDaytime(connection, clock, server, leftForThis);
        if (r.status == ReadingStatus::kTime) {
            report = {0, Describe(r, server), ""};
            AddStepVerdict(r, report);
            return report;
        }
        report.error +=
            (report.error.empty() ? "" : "; ") + FailureText(r, server, shareMilliseconds);
        if (left() == 0)
            break;
    }
    return report;
}

}  // namespace horalia::say
