#include "timesync/qt/qt_time_socket.h"

#include <QNetworkDatagram>
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
    for (QAbstractSocket* socket :
         {static_cast<QAbstractSocket*>(&socket_), static_cast<QAbstractSocket*>(&udp_)}) {
        // Only the socket of the exchange under way speaks.
        const auto active = [this, socket] {
            return open_ && events_ != nullptr && socket == &Active();
        };
        QObject::connect(socket, &QAbstractSocket::connected, [this, active] {
            if (active()) {
                events_->OnConnected();
            }
        });
        QObject::connect(socket, &QAbstractSocket::readyRead, [this, active] {
            if (active()) {
                OnReadyRead();
            }
        });
        QObject::connect(socket, &QAbstractSocket::errorOccurred,
                         [this, active](QAbstractSocket::SocketError error) {
                             if (active()) {
                                 OnError(error);
                             }
                         });
        QObject::connect(socket, &QAbstractSocket::disconnected, [this, active] {
            if (active()) {
                OnDisconnected();
            }
        });
    }
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

QAbstractSocket& QtTimeSocket::Active() {
    return transport_ == Transport::kDatagram ? static_cast<QAbstractSocket&>(udp_) : socket_;
}

void QtTimeSocket::Connect(const std::string& host, std::uint16_t port, Transport transport) {
    Close();
    open_ = true;
    transport_ = transport;
    // A UDP socket "connects" once the name is looked up: its datagrams then go to that peer,
    // and only that peer's come back.
    Active().connectToHost(QString::fromStdString(host), port);
}

void QtTimeSocket::Send(std::string_view datagram) {
    if (open_ && transport_ == Transport::kDatagram) {
        udp_.write(datagram.data(), static_cast<qint64>(datagram.size()));
    }
}

std::string QtTimeSocket::ReadAll(std::size_t maxBytes) {
    const qint64 limit = static_cast<qint64>(std::min<std::size_t>(maxBytes, INT_MAX));
    if (transport_ == Transport::kDatagram) {
        return udp_.hasPendingDatagrams() ? udp_.receiveDatagram(limit).data().toStdString() : "";
    }
    return socket_.read(limit).toStdString();
}

void QtTimeSocket::Close() {
    open_ = false;
    // abort() also drops a host lookup still under way, and whatever data is unread.
    socket_.abort();
    udp_.abort();
}

void QtTimeSocket::OnReadyRead() {
    const qint64 waiting = transport_ == Transport::kDatagram
                               ? (udp_.hasPendingDatagrams() ? udp_.pendingDatagramSize() : 0)
                               : socket_.bytesAvailable();
    if (waiting > 0) {
        events_->OnDataArrival(static_cast<std::int32_t>(std::min<qint64>(waiting, INT32_MAX)));
    }
}

void QtTimeSocket::OnError(QAbstractSocket::SocketError error) {
    // The peer's close is also reported by disconnected(), with the reply still readable.
    if (error == QAbstractSocket::RemoteHostClosedError) {
        return;
    }
    events_->OnConnectFailed();
}

void QtTimeSocket::OnDisconnected() {
    events_->OnClosedByPeer();
}

}  // namespace horalia::qt
