#include "tools/say/check_time.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "timesync/step_bound.h"

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

std::string Describe(const TimeReading& r, const ServerAddress& server) {
    char when[48];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", r.local.year, r.local.month,
                  r.local.day, r.local.hour, r.local.minute, r.local.second);
    const std::int64_t tenths =
        ((r.offsetMilliseconds < 0 ? -r.offsetMilliseconds : r.offsetMilliseconds) + 50) / 100;
    char off[96];
    if (tenths == 0) {
        std::snprintf(off, sizeof off, "this computer's clock agrees to within 0.1 seconds");
    } else {
        std::snprintf(off, sizeof off, "this computer's clock is %lld.%lld seconds %s",
                      static_cast<long long>(tenths / 10), static_cast<long long>(tenths % 10),
                      r.offsetMilliseconds > 0 ? "slow" : "fast");
    }
    return std::string(when) + " (" + server.host + ", " + ServerZone(r) + " on the server); " +
           off;
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

CheckTimeReport CheckTime(DaytimeConnection& connection, const ZoneClock& clock,
                          const ServerAddress& server, std::int32_t timeoutMilliseconds) {
    const UtcMilliseconds deadline = clock.UtcNow() + timeoutMilliseconds;
    const auto left = [&] {
        return static_cast<std::int32_t>(
            std::clamp<std::int64_t>(deadline - clock.UtcNow(), 0, timeoutMilliseconds));
    };
    DaytimeExchange exchange(clock);
    exchange.Begin();
    ExchangeEnd end = ExchangeEnd::kConnectFailed;
    if (connection.Connect(server.host, server.port, left())) {
        exchange.Connected();
        for (;;) {
            std::string piece;
            const auto wait = connection.Receive(piece, exchange.Room(), left());
            if (exchange.Received(piece)) {
                end = ExchangeEnd::kComplete;
                break;
            }
            if (wait == DaytimeConnection::Wait::kClosed) {
                end = ExchangeEnd::kClosedByPeer;
                break;
            }
            if (wait == DaytimeConnection::Wait::kTimedOut || left() == 0) {
                end = ExchangeEnd::kTimedOut;
                break;
            }
        }
    }

    const TimeReading r = exchange.Finish(end);
    const std::string where = server.host + " port " + std::to_string(server.port);
    CheckTimeReport report{1, "", ""};
    switch (r.status) {
        case ReadingStatus::kTime:
            report.status = 0;
            report.output = Describe(r, server);
            AddStepVerdict(r, report);
            break;
        case ReadingStatus::kUnreachable:
            report.error = "cannot connect to " + where +
                           ": the name is unknown, or the server refused or did not answer";
            break;
        case ReadingStatus::kSilent:
            report.error = where + " sent nothing within " +
                           std::to_string(timeoutMilliseconds / 1000) + " seconds";
            break;
        case ReadingStatus::kClosedWithoutData:
            report.error = where + " closed the connection without sending a time";
            break;
        case ReadingStatus::kUnhealthy:
            report.error = server.host + " reports that its own time is not reliable (health " +
                           std::to_string(r.health) + "); no time taken";
            break;
        case ReadingStatus::kCutOff:
            report.error = "the reply of " + where + " did not end within " +
                           std::to_string(timeoutMilliseconds / 1000) +
                           " seconds; a line cut off is not taken: " + Printable(r.reply);
            break;
        case ReadingStatus::kNotUnderstood:
            report.error =
                "the reply of " + where + " is not a time in a known layout: " + Printable(r.reply);
            break;
    }
    return report;
}

}  // namespace horalia::say
