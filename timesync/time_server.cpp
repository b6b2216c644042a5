#include "timesync/time_server.h"

#include <algorithm>

#include "timesync/ntp.h"

namespace horalia {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool StartsWithScheme(std::string_view text, std::string_view scheme) {
    if (text.size() < scheme.size())
        return false;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != scheme[i])
            return false;
    }
    return true;
}

}  // namespace

std::optional<ServerAddress> ParseTimeServer(std::string_view text) {
    TimeProtocol protocol = TimeProtocol::kDaytime;
    std::uint16_t port = kDaytimePort;
    if (StartsWithScheme(text, "ntp://")) {
        protocol = TimeProtocol::kNtp;
        port = kNtpPort;
        text.remove_prefix(6);
    } else if (StartsWithScheme(text, "daytime://")) {
        text.remove_prefix(10);
    } else if (text.find("://") != std::string_view::npos) {
        return std::nullopt;  // a scheme this program does not speak
    }
    if (text.ends_with('/'))
        text.remove_suffix(1);
    std::optional<ServerAddress> server = ParseServerAddress(text, port);
    if (server)
        server->protocol = protocol;
    return server;
}

ServerAddress ConfiguredTimeServer() {
    return ParseTimeServer(kTimeServerHost).value_or(ServerAddress{kTimeServerHost});
}

std::optional<std::vector<ServerAddress>> ParseTimeServerList(std::string_view text) {
    if (Trim(text).empty())
        return std::vector<ServerAddress>{ConfiguredTimeServer()};
    // A Chinese keyboard's comma (U+FF0C) separates as well as the ASCII one.
    constexpr std::string_view kWideComma = "\xEF\xBC\x8C";
    std::vector<ServerAddress> servers;
    for (;;) {
        const std::size_t comma = std::min(text.find(','), text.find(kWideComma));
        const std::optional<ServerAddress> server = ParseTimeServer(Trim(text.substr(0, comma)));
        if (!server)
            return std::nullopt;
        servers.push_back(*server);
        if (comma == std::string_view::npos)
            return servers;
        text.remove_prefix(comma + (text[comma] == ',' ? 1 : kWideComma.size()));
    }
}

std::vector<ServerAddress> TimeServersOrBuiltIn(std::string_view setting) {
    std::optional<std::vector<ServerAddress>> servers = ParseTimeServerList(setting);
    return servers ? std::move(*servers) : std::vector<ServerAddress>{ConfiguredTimeServer()};
}

std::string ServerName(const ServerAddress& server) {
    const bool ntp = server.protocol == TimeProtocol::kNtp;
    const bool ownPort = server.port == (ntp ? kNtpPort : kDaytimePort);
    const bool bracket = !ownPort && server.host.find(':') != std::string::npos;
    std::string name = ntp ? "ntp://" : "";
    name += bracket ? "[" + server.host + "]" : server.host;
    if (!ownPort)
        name += ":" + std::to_string(server.port);
    return name;
}

}  // namespace horalia
