// Winsock_时间同步 on Qt: a QTcpSocket for Daytime, a QUdpSocket for NTP, whose host lookup and
// connection run in the background, with their events and the reply timeout delivered on the
// thread that owns them.
#pragma once

#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <functional>

#include "timesync/time_sync.h"

namespace horalia::qt {

// A single-shot QTimer behind the OneShotTimer port.
class QtOneShotTimer final : public OneShotTimer {
  public:
    QtOneShotTimer();
    void OnExpiry(std::function<void()> expired) { expired_ = std::move(expired); }

    void Start(std::int32_t milliseconds) override;
    void Stop() override;

  private:
    QTimer timer_;
    std::function<void()> expired_;
};

class QtTimeSocket final : public TimeSocket {
  public:
    QtTimeSocket();
    ~QtTimeSocket() override;
    QtTimeSocket(const QtTimeSocket&) = delete;
    QtTimeSocket& operator=(const QtTimeSocket&) = delete;

    // Where failures, data, the peer's close and the reply timeout go; until then they are dropped.
    void SetEvents(TimeSocketEvents* events) { events_ = events; }
    OneShotTimer& ReplyTimer() { return replyTimer_; }

    bool IsClosed() const override { return !open_; }
    void Connect(const std::string& host, std::uint16_t port, Transport transport) override;
    void Send(std::string_view datagram) override;
    std::string ReadAll(std::size_t maxBytes) override;
    void Close() override;

  private:
    QAbstractSocket& Active();
    void OnReadyRead();
    void OnError(QAbstractSocket::SocketError error);
    void OnDisconnected();

    QTcpSocket socket_;
    QUdpSocket udp_;
    Transport transport_ = Transport::kStream;
    QtOneShotTimer replyTimer_;
    TimeSocketEvents* events_ = nullptr;
    // Open from Connect to Close. Signals Qt emits while or after the socket is dropped find it
    // closed and are ignored, so every exchange ends exactly once.
    bool open_ = false;
};

}  // namespace horalia::qt
