// A TCP server on 127.0.0.1, at a port the system picks, that answers the network clients under
// test with canned replies: HTTP responses by request path, or Daytime lines by connection. Each
// connection is served on its own thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace horalia::testing {

// An HTTP/1.1 response with a plain-text body that closes the connection.
std::string HttpResponse(int status, const std::string& body, const std::string& extraHeaders = "");

inline constexpr struct Daytime {
} kDaytime;

class LoopbackServer {
  public:
    // HTTP: each request is read and answered with `responses` at its path, elsewhere a 404.
    explicit LoopbackServer(std::map<std::string, std::string> responses = {});
    // Daytime: the n-th connection is sent replies[n] without waiting for a request (a '|' splits
    // a reply into pieces sent a moment apart), then kept open `linger` before the server closes
    // it. Connections beyond the replies are sent nothing.
    LoopbackServer(Daytime, std::vector<std::string> replies,
                   std::chrono::milliseconds linger = {});
    ~LoopbackServer();  // releases a hold and waits for every connection to end
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::uint16_t Port() const;
    std::string Url(const std::string& path) const;
    int Accepted() const;

    // While held, connections are accepted (and requests read) but not answered.
    void Hold();
    void Release();

  private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

// A loopback port nobody listens on: bound once, then released.
std::uint16_t UnusedPort();

}  // namespace horalia::testing
