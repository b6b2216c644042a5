#include "timesync/qt/qt_time_socket.h"

#include <algorithm>
#include <climits>

namespace horalia::qt {

QtOneShotTimer::QtOneShotTimer() {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (expired_) {
            expired_();
        }
    });
}

void QtOneShotTimer::Start(std::int32_t milliseconds) {
    timer_.start(std::max<std::int32_t>(milliseconds, 0));
}

void QtOneShotTimer::Stop() {
    timer_.stop();
}

QtTimeSocket::QtTimeSocket() {
    QObject::connect(&socket_, &QTcpSocket::connected, [this] {
        if (open_ && events_ != nullptr) {
            events_->OnConnected();
        }
    });
    QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { OnReadyRead(); });
    QObject::connect(&socket_, &QTcpSocket::errorOccurred,
                     [this](QAbstractSocket::SocketError error) { OnError(error); });
    QObject::connect(&socket_, &QTcpSocket::disconnected, [this] { OnDisconnected(); });
    replyTimer_.OnExpiry([this] {
        if (events_ != nullptr) {
            events_->OnReplyTimeout();
        }
    });
}

QtTimeSocket::~QtTimeSocket() {
    // No event may reach the sync while the socket is being torn down.
    events_ = nullptr;
    Close();
}

void QtTimeSocket::Connect(const std::string& host, std::uint16_t port) {
    Close();
    open_ = true;
    socket_.connectToHost(QString::fromStdString(host), port);
}

std::string QtTimeSocket::ReadAll(std::size_t maxBytes) {
    const qint64 limit = static_cast<qint64>(std::min<std::size_t>(maxBytes, INT_MAX));
    return socket_.read(limit).toStdString();
}

void QtTimeSocket::Close() {
    open_ = false;
    // abort() also drops a host lookup still under way, and whatever data is unread.
    socket_.abort();
}

void QtTimeSocket::OnReadyRead() {
    if (open_ && events_ != nullptr && socket_.bytesAvailable() > 0) {
        const qint64 waiting = std::min<qint64>(socket_.bytesAvailable(), INT32_MAX);
        events_->OnDataArrival(static_cast<std::int32_t>(waiting));
    }
}

void QtTimeSocket::OnError(QAbstractSocket::SocketError error) {
    if (!open_ || events_ == nullptr) {
        return;
    }
    // The peer's close is also reported by disconnected(), with the reply still readable.
    if (error == QAbstractSocket::RemoteHostClosedError) {
        return;
    }
    events_->OnConnectFailed();
}

void QtTimeSocket::OnDisconnected() {
    if (open_ && events_ != nullptr) {
        events_->OnClosedByPeer();
    }
}

}  // namespace horalia::qt
