#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <utility>

#include "common/linux/unique_handles.h"
#include "tools/say/bounded_call.h"
#include "tools/say/check_time.h"

namespace horalia::say {
namespace {

using std::chrono::steady_clock;

int MillisecondsUntil(steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

class PosixDaytimeConnection final : public DaytimeConnection {
  public:
    bool Connect(const std::string& host, std::uint16_t port, Transport transport,
                 std::int32_t withinMilliseconds) override {
        fd_.Close();
        const auto deadline = steady_clock::now() + std::chrono::milliseconds(withinMilliseconds);
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = transport == Transport::kDatagram ? SOCK_DGRAM : SOCK_STREAM;
        // The lookup counts against the time given.
        addrinfo* results = LookUpWithin(host, port, hints, getaddrinfo, freeaddrinfo,
                                         std::chrono::milliseconds(withinMilliseconds));
        if (results == nullptr) {
            return false;
        }
        for (const addrinfo* a = results; a != nullptr && !fd_; a = a->ai_next) {
            TryAddress(*a, deadline);
        }
        freeaddrinfo(results);
        return static_cast<bool>(fd_);
    }

    void Send(std::string_view datagram) override {
        if (fd_) {
            send(fd_.get(), datagram.data(), datagram.size(), 0);
        }
    }

    Wait Receive(std::string& data, std::size_t maxBytes,
                 std::int32_t withinMilliseconds) override {
        pollfd p{fd_.get(), POLLIN, 0};
        const int ready = poll(&p, 1, withinMilliseconds);
        if (ready == 0) {
            return Wait::kTimedOut;
        }
        if (ready < 0) {
            return errno == EINTR ? Wait::kData : Wait::kClosed;
        }
        char buffer[4096];
        const ssize_t received = recv(fd_.get(), buffer, std::min(sizeof buffer, maxBytes), 0);
        if (received > 0) {
            data.append(buffer, static_cast<std::size_t>(received));
            return Wait::kData;
        }
        if (received < 0 && (errno == EAGAIN || errno == EINTR)) {
            return Wait::kData;
        }
        return Wait::kClosed;
    }

  private:
    void TryAddress(const addrinfo& a, steady_clock::time_point deadline) {
        UniqueFd fd(
            socket(a.ai_family, a.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a.ai_protocol));
        if (!fd) {
            return;
        }
        bool connected = connect(fd.get(), a.ai_addr, a.ai_addrlen) == 0;
        if (!connected && errno == EINPROGRESS) {
            pollfd p{fd.get(), POLLOUT, 0};
            int error = 0;
            socklen_t length = sizeof error;
            connected = poll(&p, 1, MillisecondsUntil(deadline)) == 1 &&
                        getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 &&
                        error == 0;
        }
        if (connected) {
            fd_ = std::move(fd);
        }
    }

    UniqueFd fd_;
};

}  // namespace

std::unique_ptr<DaytimeConnection> SystemDaytimeConnection() {
    return std::make_unique<PosixDaytimeConnection>();
}

}  // namespace horalia::say
