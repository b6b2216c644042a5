// Parsing of the one-line reply of a Daytime (TCP port 13) server: the "dd MMM yyyy hh:mm:ss"
// layout in local time, and NIST's layout in UTC.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/vendor_addresses.h"

namespace horalia {

// The Daytime server the build names; NIST's time.nist.gov unless configured otherwise. NIST's
// layout in UTC and the "dd MMM yyyy hh:mm:ss" layout in local time are both understood.
inline constexpr const char* kTimeServerHost = kConfiguredTimeServerHost;
inline constexpr std::uint16_t kDaytimePort = 13;
// A reply longer than this is cut off before parsing.
inline constexpr std::size_t kMaxReplyBytes = 4096;

struct ClockValue {
    std::uint16_t year, month, dayOfWeek, day, hour, minute, second, milliseconds;

    friend bool operator==(const ClockValue&, const ClockValue&) = default;
};

// Reads "day month-abbreviation year h:m:s [anything]". Returns nothing when the reply does not
// follow that layout or names an impossible date or time. dayOfWeek and milliseconds are 0.
// A fourth ':'-separated part of the time (e.g. "h:m:s:cc") is ignored.
std::optional<ClockValue> ParseDaytimeReply(std::string_view reply);

// NIST's line: "JJJJJ YY-MM-DD HH:MM:SS TT L H msADV UTC(NIST) OTM" (modified Julian day, date,
// time, summer-time code, leap-second code, health, milliseconds the stamp was advanced by for
// the expected network delay, label, on-time marker), with the line ends around it.
struct NistReply {
    ClockValue utc;  // dayOfWeek and milliseconds are 0
    int health = 0;  // 0: the server's time is good
    std::int32_t advanceMilliseconds = 0;
};

// Returns nothing unless the reply has that layout, the date agrees with the day number, and the
// date and time are real. The health is returned, not judged.
std::optional<NistReply> ParseNistDaytimeReply(std::string_view reply);

// "1".."12" for JAN FEB MAR APR MAY JUN JUL AUG SEPT OCT NOV DEC (any letter case), else "".
std::string GetMonthNumber(std::string_view abbreviation);

}  // namespace horalia
