// Fetches the update text with libcurl.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace horalia::update {

inline constexpr std::chrono::seconds kFetchTimeout{15};

// The body of a 2xx response over http or https (redirects followed, within those two schemes),
// cut at kMaxUpdateTextSize + 1 bytes. Nothing on a network failure, an HTTP error or a timeout.
// Initialises libcurl (and its TLS library) once; call it on the thread that starts the checks,
// before any check runs: the initialisation is not thread-safe, and done on a check's thread it
// could race the process's exit. False when libcurl could not be initialised.
bool InitialiseCurl();

std::optional<std::string> FetchWithCurl(const std::string& url,
                                         std::chrono::milliseconds timeout = kFetchTimeout);

}  // namespace horalia::update
