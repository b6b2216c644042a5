#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>

#include "tools/say/bounded_call.h"
#include "tools/say/check_time.h"

namespace horalia::say {
namespace {

using std::chrono::steady_clock;

timeval TimeUntil(steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - steady_clock::now());
    const long ms = left.count() > 0 ? static_cast<long>(left.count()) : 0;
    return timeval{ms / 1000, (ms % 1000) * 1000};
}

class WinsockDaytimeConnection final : public DaytimeConnection {
  public:
    WinsockDaytimeConnection() {
        WSADATA data;
        started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    WinsockDaytimeConnection(const WinsockDaytimeConnection&) = delete;
    WinsockDaytimeConnection& operator=(const WinsockDaytimeConnection&) = delete;
    ~WinsockDaytimeConnection() override {
        CloseConnection();
        if (started_) {
            WSACleanup();
        }
    }

    bool Connect(const std::string& host, std::uint16_t port, Transport transport,
                 std::int32_t withinMilliseconds) override {
        CloseConnection();
        if (!started_) {
            return false;
        }
        const auto deadline = steady_clock::now() + std::chrono::milliseconds(withinMilliseconds);
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = transport == Transport::kDatagram ? SOCK_DGRAM : SOCK_STREAM;
        hints.ai_protocol = transport == Transport::kDatagram ? IPPROTO_UDP : IPPROTO_TCP;
        // The lookup counts against the time given.
        addrinfo* results = LookUpWithin(host, port, hints, getaddrinfo, freeaddrinfo,
                                         std::chrono::milliseconds(withinMilliseconds));
        if (results == nullptr) {
            return false;
        }
        for (const addrinfo* a = results; a != nullptr && socket_ == INVALID_SOCKET;
             a = a->ai_next) {
            TryAddress(*a, deadline);
        }
        freeaddrinfo(results);
        return socket_ != INVALID_SOCKET;
    }

    void Send(std::string_view datagram) override {
        if (socket_ != INVALID_SOCKET) {
            send(socket_, datagram.data(), static_cast<int>(datagram.size()), 0);
        }
    }

    Wait Receive(std::string& data, std::size_t maxBytes,
                 std::int32_t withinMilliseconds) override {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socket_, &readable);
        timeval wait =
            TimeUntil(steady_clock::now() + std::chrono::milliseconds(withinMilliseconds));
        const int ready = select(0, &readable, nullptr, nullptr, &wait);
        if (ready == 0) {
            return Wait::kTimedOut;
        }
        if (ready < 0) {
            return Wait::kClosed;
        }
        char buffer[4096];
        const int wanted = static_cast<int>(std::min(sizeof buffer, maxBytes));
        const int received = recv(socket_, buffer, wanted, 0);
        if (received > 0) {
            data.append(buffer, static_cast<std::size_t>(received));
            return Wait::kData;
        }
        if (received < 0 && WSAGetLastError() == WSAEWOULDBLOCK) {
            return Wait::kData;
        }
        if (received < 0 && WSAGetLastError() == WSAEMSGSIZE) {
            data.append(buffer, static_cast<std::size_t>(wanted));  // a datagram cut short
            return Wait::kData;
        }
        return Wait::kClosed;
    }

  private:
    void CloseConnection() {
        if (socket_ != INVALID_SOCKET) {
            closesocket(socket_);
            socket_ = INVALID_SOCKET;
        }
    }

    void TryAddress(const addrinfo& a, steady_clock::time_point deadline) {
        const SOCKET s = socket(a.ai_family, a.ai_socktype, a.ai_protocol);
        if (s == INVALID_SOCKET) {
            return;
        }
        u_long nonBlocking = 1;
        bool connected = false;
        if (ioctlsocket(s, FIONBIO, &nonBlocking) == 0) {
            connected = connect(s, a.ai_addr, static_cast<int>(a.ai_addrlen)) == 0;
            if (!connected && WSAGetLastError() == WSAEWOULDBLOCK) {
                fd_set writable;
                fd_set failed;
                FD_ZERO(&writable);
                FD_ZERO(&failed);
                FD_SET(s, &writable);
                FD_SET(s, &failed);
                timeval wait = TimeUntil(deadline);
                connected =
                    select(0, nullptr, &writable, &failed, &wait) == 1 && FD_ISSET(s, &writable);
            }
        }
        if (connected) {
            socket_ = s;
        } else {
            closesocket(s);
        }
    }

    bool started_ = false;
    SOCKET socket_ = INVALID_SOCKET;
};

}  // namespace

std::unique_ptr<DaytimeConnection> SystemDaytimeConnection() {
    return std::make_unique<WinsockDaytimeConnection>();
}

}  // namespace horalia::say
