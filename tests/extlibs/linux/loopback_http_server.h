// A small HTTP server on the loopback interface for the update tests. Each connection gets its
// own thread; while held, requests are read but not answered.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace horalia::testing {

inline std::string HttpResponse(int status, const std::string& body,
                                const std::string& extraHeaders = "") {
    return "HTTP/1.1 " + std::to_string(status) + " Status\r\nContent-Type: text/plain\r\n" +
           extraHeaders + "Content-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

class LoopbackHttpServer {
  public:
    // `responses` maps a request path to the raw response; other paths get a 404.
    explicit LoopbackHttpServer(std::map<std::string, std::string> responses)
        : responses_(std::move(responses)) {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        listen(listener_, 8);
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }

    ~LoopbackHttpServer() {
        Release();
        shutdown(listener_, SHUT_RDWR);  // wakes the blocked accept
        acceptor_.join();
        close(listener_);
        for (std::thread& connection : connections_)
            connection.join();
    }

    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    int Accepted() const { return accepted_; }

    void Hold() {
        std::lock_guard lock(mutex_);
        held_ = true;
    }
    void Release() {
        {
            std::lock_guard lock(mutex_);
            held_ = false;
        }
        released_.notify_all();
    }

  private:
    void AcceptLoop() {
        for (;;) {
            const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                return;
            ++accepted_;
            connections_.emplace_back([this, client] { Serve(client); });
        }
    }

    void Serve(int client) {
        const std::string path = ReadRequestPath(client);
        {
            std::unique_lock lock(mutex_);
            released_.wait(lock, [this] { return !held_; });
        }
        const auto found = responses_.find(path);
        const std::string reply =
            found != responses_.end() ? found->second : HttpResponse(404, "not here");
        send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
        shutdown(client, SHUT_WR);
        close(client);
    }

    static std::string ReadRequestPath(int client) {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            const ssize_t got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            request.append(buffer, static_cast<std::size_t>(got));
        }
        const std::size_t start = request.find(' ') + 1;
        return request.substr(start, request.find(' ', start) - start);
    }

    std::map<std::string, std::string> responses_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<int> accepted_{0};
    std::mutex mutex_;
    std::condition_variable released_;
    bool held_ = false;
    std::thread acceptor_;
    std::vector<std::thread> connections_;  // touched by the acceptor only, then joined
};

// A loopback port nobody listens on.
inline std::uint16_t UnusedPort() {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    return ntohs(address.sin_port);
}

}  // namespace horalia::testing
