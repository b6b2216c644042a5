// Fetches the update text with WinINet.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace horalia::update {

inline constexpr std::chrono::seconds kFetchTimeout{15};

// The body of a 200 response, cut at kMaxUpdateTextSize + 1 bytes. Nothing on a network failure,
// an HTTP error or when the whole transfer takes longer than `timeout`.
std::optional<std::string> FetchWithWinInet(const std::string& url,
                                            std::chrono::milliseconds timeout = kFetchTimeout);

}  // namespace horalia::update
