// Fetches the update text with libcurl.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace horalia::update {

inline constexpr std::chrono::seconds kFetchTimeout{15};

// The body of a 2xx response over http or https (redirects followed, within those two schemes),
// cut at kMaxUpdateTextSize + 1 bytes. Nothing on a network failure, an HTTP error or a timeout.
std::optional<std::string> FetchWithCurl(const std::string& url,
                                         std::chrono::milliseconds timeout = kFetchTimeout);

}  // namespace horalia::update
