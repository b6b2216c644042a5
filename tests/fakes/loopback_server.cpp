#include "fakes/loopback_server.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace horalia::testing {
namespace {

// The few socket calls the server makes, in each platform's spelling. An instance keeps the
// platform's socket library started.
#ifdef _WIN32
struct Net {
    using Socket = SOCKET;
    using Length = int;
    static constexpr Socket kNone = INVALID_SOCKET;

    Net() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~Net() { WSACleanup(); }
    static Socket Open() { return socket(AF_INET, SOCK_STREAM, IPPROTO_TCP); }
    static Socket Accept(Socket listener) { return accept(listener, nullptr, nullptr); }
    static void Send(Socket s, const std::string& data) {
        send(s, data.data(), static_cast<int>(data.size()), 0);
    }
    static void CloseAfterSending(Socket s) {
        shutdown(s, SD_SEND);
        closesocket(s);
    }
    static void Close(Socket s) { closesocket(s); }
    static void StopAccepting(Socket listener) { closesocket(listener); }  // accept returns
    static void ForgetListener(Socket) {}
};
#else
struct Net {
    using Socket = int;
    using Length = socklen_t;
    static constexpr Socket kNone = -1;

    ~Net() {}  // nothing to end
    // Close-on-exec: the programs some tests start must not keep a connection open.
    static Socket Open() { return socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0); }
    static Socket Accept(Socket listener) {
        return accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    }
    static void Send(Socket s, const std::string& data) {
        send(s, data.data(), data.size(), MSG_NOSIGNAL);
    }
    static void CloseAfterSending(Socket s) {
        shutdown(s, SHUT_WR);
        close(s);
    }
    static void Close(Socket s) { close(s); }
    static void StopAccepting(Socket listener) { shutdown(listener, SHUT_RDWR); }  // ditto
    static void ForgetListener(Socket listener) { close(listener); }
};
#endif
using Socket = Net::Socket;

// A stream socket bound to the loopback interface at an ephemeral port.
Socket BindLoopback(std::uint16_t& port) {
    const Socket bound = Net::Open();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(bound, reinterpret_cast<sockaddr*>(&address), sizeof address);
    Net::Length length = sizeof address;
    getsockname(bound, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return bound;
}

std::string ReadRequestPath(Socket client) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        const auto got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        request.append(buffer, static_cast<std::size_t>(got));
    }
    const std::size_t start = request.find(' ') + 1;
    return request.substr(start, request.find(' ', start) - start);
}

constexpr std::chrono::milliseconds kPiecePause(200);

}  // namespace

std::string HttpResponse(int status, const std::string& body, const std::string& extraHeaders) {
    return "HTTP/1.1 " + std::to_string(status) + " Status\r\nContent-Type: text/plain\r\n" +
           extraHeaders + "Content-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

class LoopbackServer::Impl {
  public:
    Impl(bool http, std::map<std::string, std::string> responses, std::vector<std::string> replies,
         std::chrono::milliseconds linger)
        : http_(http),
          responses_(std::move(responses)),
          replies_(std::move(replies)),
          linger_(linger) {
        listener_ = BindLoopback(port_);
        listen(listener_, 8);
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }

    ~Impl() {
        Release();
        Net::StopAccepting(listener_);
        acceptor_.join();
        Net::ForgetListener(listener_);
        for (std::thread& connection : connections_)
            connection.join();
    }

    void Release() {
        {
            std::lock_guard lock(mutex_);
            held_ = false;
        }
        released_.notify_all();
    }

    Net net_;  // started before the listener, ended after it
    const bool http_;
    const std::map<std::string, std::string> responses_;
    const std::vector<std::string> replies_;
    const std::chrono::milliseconds linger_;
    Socket listener_ = Net::kNone;
    std::uint16_t port_ = 0;
    std::atomic<int> accepted_{0};
    std::mutex mutex_;
    std::condition_variable released_;
    bool held_ = false;
    std::thread acceptor_;
    std::vector<std::thread> connections_;  // touched by the acceptor only, then joined

  private:
    void AcceptLoop() {
        for (;;) {
            const Socket client = Net::Accept(listener_);
            if (client == Net::kNone)
                return;
            const int index = accepted_++;
            connections_.emplace_back([this, client, index] { Serve(client, index); });
        }
    }

    void Serve(Socket client, int index) {
        const std::string path = http_ ? ReadRequestPath(client) : "";
        {
            std::unique_lock lock(mutex_);
            released_.wait(lock, [this] { return !held_; });
        }
        std::string reply;
        if (http_) {
            const auto found = responses_.find(path);
            reply = found != responses_.end() ? found->second : HttpResponse(404, "not here");
        } else if (static_cast<std::size_t>(index) < replies_.size()) {
            reply = replies_[static_cast<std::size_t>(index)];
        }
        for (std::size_t split; !http_ && (split = reply.find('|')) != std::string::npos;) {
            Net::Send(client, reply.substr(0, split));
            reply.erase(0, split + 1);
            std::this_thread::sleep_for(kPiecePause);
        }
        if (!reply.empty())
            Net::Send(client, reply);
        std::this_thread::sleep_for(linger_);
        Net::CloseAfterSending(client);
    }
};

LoopbackServer::LoopbackServer(std::map<std::string, std::string> responses)
    : impl_(std::make_unique<Impl>(true, std::move(responses), std::vector<std::string>{},
                                   std::chrono::milliseconds{})) {}

LoopbackServer::LoopbackServer(Daytime, std::vector<std::string> replies,
                               std::chrono::milliseconds linger)
    : impl_(std::make_unique<Impl>(false, std::map<std::string, std::string>{}, std::move(replies),
                                   linger)) {}

LoopbackServer::~LoopbackServer() = default;

std::uint16_t LoopbackServer::Port() const {
    return impl_->port_;
}

std::string LoopbackServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(impl_->port_) + path;
}

int LoopbackServer::Accepted() const {
    return impl_->accepted_;
}

void LoopbackServer::Hold() {
    std::lock_guard lock(impl_->mutex_);
    impl_->held_ = true;
}

void LoopbackServer::Release() {
    impl_->Release();
}

std::uint16_t UnusedPort() {
    const Net net;
    std::uint16_t port = 0;
    Net::Close(BindLoopback(port));
    return port;
}

}  // namespace horalia::testing
