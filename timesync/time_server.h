// The time servers a person names: a list such as
//   ntp://ntp.ntsc.ac.cn, ntp://cn.pool.ntp.org:123, time.nist.gov,
//   daytime://[2610:20:6f15:15::27]:13
// tried in order until one answers. A server without a scheme is a Daytime server.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "timesync/daytime.h"

namespace horalia {

// One server: HOST, HOST:PORT or [IPv6]:PORT, possibly after "daytime://" (port 13 unless
// given) or "ntp://" (port 123); the scheme in any letter case.
std::optional<ServerAddress> ParseTimeServer(std::string_view text);

// Servers separated by ',' or '，' (blanks around each ignored). Empty text, or only blanks: the
// built-in server. Nothing when any item is not a server, an empty one between commas included.
std::optional<std::vector<ServerAddress>> ParseTimeServerList(std::string_view text);

// The servers a 校时服务器 text names; the built-in server for a text that is no list of servers
// (a hand edit).
std::vector<ServerAddress> TimeServersOrBuiltIn(std::string_view setting);

// How a server is named to the person: "time.nist.gov", "ntp://ntp.ntsc.ac.cn",
// "ntp://[::1]:12345"; the port only when it is not the protocol's own.
std::string ServerName(const ServerAddress& server);

}  // namespace horalia
