// Winsock_时间同步 on Windows: a non-blocking Winsock client (TCP for Daytime, UDP for NTP) whose
// events (WSAAsyncSelect) and reply timer (SetTimer) arrive at its own message-only window, so they
// run on the thread that created the object, between that thread's other window messages.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "common/win32/window.h"
#include "timesync/time_sync.h"

namespace horalia::win32 {

class WinsockTimeSocket final : public TimeSocket, private Window {
  public:
    WinsockTimeSocket();
    ~WinsockTimeSocket() override;
    WinsockTimeSocket(const WinsockTimeSocket&) = delete;
    WinsockTimeSocket& operator=(const WinsockTimeSocket&) = delete;

    // Where connection failures, data, the peer's close and the reply timeout go. Until it is
    // set, events are dropped.
    void SetEvents(TimeSocketEvents* events) { events_ = events; }
    // The reply timeout, on the same window; its expiry arrives as OnReplyTimeout.
    OneShotTimer& ReplyTimer() { return replyTimer_; }

    bool IsClosed() const override { return !open_; }
    // The host name is resolved on a worker thread so that the caller's thread never waits on
    // the name service; only the first IPv4 address is tried. TCP for Daytime, UDP for NTP.
    void Connect(const std::string& host, std::uint16_t port, Transport transport) override;
    void Send(std::string_view datagram) override;
    std::string ReadAll(std::size_t maxBytes) override;
    void Close() override;

  private:
    class WindowTimer final : public OneShotTimer {
      public:
        explicit WindowTimer(WinsockTimeSocket& owner) : owner_(owner) {}
        void Start(std::int32_t milliseconds) override;
        void Stop() override;
        bool Expire();  // true when the timer was running, which this ends

      private:
        WinsockTimeSocket& owner_;
        bool running_ = false;
    };
    struct Resolution;

    static void Resolve(std::shared_ptr<Resolution> resolution, const std::string& host,
                        std::uint16_t port);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnResolved();
    void OnSocketEvent(SOCKET socket, LPARAM lParam);
    void OnTimer();
    void StartConnection(const sockaddr_in& address);
    std::string ReadDatagram(std::size_t maxBytes);
    void ReportConnectFailed();
    void AbandonResolution();

    bool winsockStarted_ = false;
    bool open_ = false;
    Transport transport_ = Transport::kStream;
    SOCKET socket_ = INVALID_SOCKET;
    std::shared_ptr<Resolution> resolution_;  // shared with the resolver thread
    WindowTimer replyTimer_{*this};
    TimeSocketEvents* events_ = nullptr;
};

}  // namespace horalia::win32
