// Parsing of the one-line reply of a Daytime (TCP port 13) server into a local clock value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/vendor_addresses.h"

namespace horalia {

// The time server must answer in the "dd MMM yyyy hh:mm:ss" layout and report local time.
// This reserved example name is a placeholder until a server with that layout is chosen.
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

// "1".."12" for JAN FEB MAR APR MAY JUN JUL AUG SEPT OCT NOV DEC (any letter case), else "".
std::string GetMonthNumber(std::string_view abbreviation);

}  // namespace horalia
