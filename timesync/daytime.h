// Parsing of the one-line reply of a Daytime (TCP port 13) server: NIST's layout in UTC, and the
// layouts of the other servers ("dd MMM yyyy hh:mm:ss", ctime's "Www Mmm dd hh:mm:ss yyyy"), in
// local time unless they name their zone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/vendor_addresses.h"

namespace horalia {

// The time server the build names, as HOST, HOST:PORT or ntp://HOST[:PORT]; NIST's
// time.nist.gov (Daytime) unless configured otherwise.
inline constexpr const char* kTimeServerHost = kConfiguredTimeServerHost;
inline constexpr std::uint16_t kDaytimePort = 13;
// A reply longer than this is cut off before parsing.
inline constexpr std::size_t kMaxReplyBytes = 4096;

// Daytime over TCP, or (S)NTP over UDP.
enum class TimeProtocol { kDaytime, kNtp };

// A time server: a host name or address, a port, and how it is asked.
struct ServerAddress {
    std::string host;
    std::uint16_t port = kDaytimePort;
    TimeProtocol protocol = TimeProtocol::kDaytime;

    friend bool operator==(const ServerAddress&, const ServerAddress&) = default;
};

// "HOST", "HOST:PORT", "[IPv6]" or "[IPv6]:PORT"; an address with several colons and no
// brackets is taken as an IPv6 address alone. `defaultPort` unless given, 1..65535.
std::optional<ServerAddress> ParseServerAddress(std::string_view text,
                                                std::uint16_t defaultPort = kDaytimePort);

// The server the build names, split into host and port, Daytime unless it says ntp:// (see
// time_server.h); a setting that does not parse is taken whole as a host name, so that the
// failure to reach it names it.
ServerAddress ConfiguredTimeServer();

struct ClockValue {
    std::uint16_t year, month, dayOfWeek, day, hour, minute, second, milliseconds;

    friend bool operator==(const ClockValue&, const ClockValue&) = default;
};

// A time read from a reply in one of the general layouts.
struct DaytimeReply {
    ClockValue value{};  // dayOfWeek 0; milliseconds from a fraction of a second, else 0
    bool hasFraction = false;
    // Minutes east of UTC when the reply names its zone (UTC, GMT, UT, Z or +0800, -05:00);
    // otherwise the time is this computer's local time.
    std::optional<std::int32_t> utcOffsetMinutes;
};

// Reads the first line of a reply in one of these layouts (fields separated by blanks):
//   dd MMM yyyy hh:mm:ss [zone] [anything]       "08 DEC 2026 05:04:56 UTC" (single blanks)
//   Www Mmm dd hh:mm:ss [zone] yyyy [zone]       "Tue Dec  8 13:20:54 2026"
//   Weekday, Month dd, yyyy hh:mm:ss[-zone]      "Tuesday, February 22, 1982 17:37:43-PST"
// A weekday may also stand before the first layout, and blanks around the line are ignored.
// Months are abbreviated (SEP and SEPT both) or spelled out, in any letter case; a two-digit year
// is 1950..2049. Minutes and seconds have two digits; the hour may have one, and AM or PM may
// follow the time ("1:20:54 PM"). A zone may be written onto the time with '-' or '+'
// ("14:29:51-UTC", "05:04:56+0800"). A fourth ':'-separated part of the time is ignored. Returns
// nothing when the reply follows none of them or names an impossible date or time.
std::optional<DaytimeReply> ParseDaytimeReply(std::string_view reply);

// NIST's line: "JJJJJ YY-MM-DD HH:MM:SS TT L H msADV UTC(NIST) OTM" (modified Julian day, date,
// time, summer-time code, leap-second code, health, milliseconds the stamp was advanced by for
// the expected network delay, label, on-time marker). Fields are separated by runs of blanks
// (the advance is padded to five characters); white space around the line is ignored.
struct NistReply {
    ClockValue utc;  // dayOfWeek and milliseconds are 0
    int health = 0;  // 0: the server's time is good
    std::int32_t advanceMilliseconds = 0;
};

// Returns nothing unless the reply has that layout (leap code 0 to 2, the label UTC(NIST), the
// marker '*' or '#' or none), the date agrees with the day number, and the date and time are
// real. The health is returned, not judged.
std::optional<NistReply> ParseNistDaytimeReply(std::string_view reply);

// "1".."12" for JAN FEB MAR APR MAY JUN JUL AUG SEPT OCT NOV DEC (any letter case), else "".
std::string GetMonthNumber(std::string_view abbreviation);

}  // namespace horalia
