// A small HTTP server on the loopback interface for the update tests under Wine. Each connection
// gets its own thread; while held, requests are read but not answered.
#pragma once

#include <winsock2.h>

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

inline std::string HttpResponse(int status, const std::string& body) {
    return "HTTP/1.1 " + std::to_string(status) +
           " Status\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

class LoopbackHttpServer {
  public:
    // `responses` maps a request path to the raw response; other paths get a 404.
    explicit LoopbackHttpServer(std::map<std::string, std::string> responses)
        : responses_(std::move(responses)) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        listen(listener_, 8);
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }

    ~LoopbackHttpServer() {
        Release();
        closesocket(listener_);  // ends a waiting accept
        acceptor_.join();
        for (std::thread& connection : connections_)
            connection.join();
        WSACleanup();
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
            const SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                return;
            ++accepted_;
            connections_.emplace_back([this, client] { Serve(client); });
        }
    }

    void Serve(SOCKET client) {
        const std::string path = ReadRequestPath(client);
        {
            std::unique_lock lock(mutex_);
            released_.wait(lock, [this] { return !held_; });
        }
        const auto found = responses_.find(path);
        const std::string reply =
            found != responses_.end() ? found->second : HttpResponse(404, "not here");
        send(client, reply.data(), static_cast<int>(reply.size()), 0);
        shutdown(client, SD_SEND);
        closesocket(client);
    }

    static std::string ReadRequestPath(SOCKET client) {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            const int got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            request.append(buffer, static_cast<std::size_t>(got));
        }
        const std::size_t start = request.find(' ') + 1;
        return request.substr(start, request.find(' ', start) - start);
    }

    std::map<std::string, std::string> responses_;
    SOCKET listener_ = INVALID_SOCKET;
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
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    const SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(probe);
    WSACleanup();
    return ntohs(address.sin_port);
}

}  // namespace horalia::testing
