#include "timesync/qt/qt_time_socket.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest/QTest>

#include "app/qt/qt_test_application.h"
#include "fakes/fake_time_sync_ports.h"
#include "timesync/time_server.h"

namespace horalia::qt {
namespace {

// Every wait is bounded, so a broken socket fails the test instead of hanging it.
constexpr int kWaitMs = 20000;

// A Daytime server on the loopback interface: each connection gets the reply, then is closed.
// An empty reply closes the connection without sending anything; silent keeps it open and mute;
// a rest is sent a moment after the reply, as a second piece.
class DaytimeServer {
  public:
    explicit DaytimeServer(QByteArray reply) : reply(std::move(reply)) {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&server_, &QTcpServer::newConnection, [this] { Answer(); });
    }

    std::uint16_t Port() const { return server_.serverPort(); }

    QByteArray reply;
    QByteArray rest;
    bool silent = false;
    int connections = 0;

  private:
    void Answer() {
        while (QTcpSocket* client = server_.nextPendingConnection()) {
            ++connections;
            if (silent) {
                continue;  // owned by the server; stays open until the test ends
            }
            client->write(reply);
            if (rest.isEmpty()) {
                client->disconnectFromHost();
                continue;
            }
            client->flush();
            QTimer::singleShot(200, client, [client, this] {
                client->write(rest);
                client->disconnectFromHost();
            });
        }
    }

    QTcpServer server_;
};

class QtTimeSocketTest : public testing::Test {
  protected:
    // This clock reads the test servers' time: no step is large enough to need a question.
    QtTimeSocketTest() {
        testing_qt::TestApplication();
        zone.now = fakes::UtcAt(2026, 12, 6, 15, 40, 7);
    }

    // The sync under test, talking to the given port on 127.0.0.1 (or another host).
    TimeSync& SyncTo(std::uint16_t port, const std::string& host = "127.0.0.1") {
        sync_ = std::make_unique<TimeSync>(socket, clockSetter, socket.ReplyTimer(), zone,
                                           ServerAddress{host, port});
        socket.SetEvents(sync_.get());
        return *sync_;
    }

    bool WaitUntilClosed() {
        return QTest::qWaitFor([this] { return socket.IsClosed(); }, kWaitMs);
    }
    bool WaitForClockValue(std::size_t count = 1) {
        return QTest::qWaitFor([&] { return clockSetter.calls.size() >= count; }, kWaitMs);
    }

    fakes::FakeClockSetter clockSetter;  // records what the reply would set
    fakes::FakeZoneClock zone;           // stands still: the value set is the server's time
    QtTimeSocket socket;

  private:
    std::unique_ptr<TimeSync> sync_;
};

// A reply in whole seconds stands for the middle of its second.
constexpr ClockValue kReplyValue{2026, 12, 0, 6, 15, 40, 7, 500};

TEST_F(QtTimeSocketTest, ReplyReachesTheClockSetterAndTheSocketCloses) {
    DaytimeServer server("06 DEC 2026 15:40:07\r\n");
    TimeSync& sync = SyncTo(server.Port());

    sync.RequestTimeSync();
    EXPECT_FALSE(socket.IsClosed());

    ASSERT_TRUE(WaitForClockValue());
    EXPECT_EQ(clockSetter.calls.front().value, kReplyValue);
    EXPECT_TRUE(socket.IsClosed());
}

TEST_F(QtTimeSocketTest, ReplyInTwoPiecesIsReadToItsLineEnd) {
    DaytimeServer server("06 DEC 2026 ");
    server.rest = "15:40:07\r\n";
    SyncTo(server.Port()).RequestTimeSync();

    ASSERT_TRUE(WaitForClockValue());
    EXPECT_EQ(clockSetter.calls.front().value, kReplyValue);
}

TEST_F(QtTimeSocketTest, HostNameIsLookedUpInTheBackground) {
    DaytimeServer server("06 DEC 2026 15:40:07\r\n");
    SyncTo(server.Port(), "localhost").RequestTimeSync();

    ASSERT_TRUE(WaitForClockValue());
    EXPECT_EQ(clockSetter.calls.front().value, kReplyValue);
}

TEST_F(QtTimeSocketTest, ServerClosingWithoutDataEndsTheExchangeAndTheNextConnects) {
    DaytimeServer server("");
    TimeSync& sync = SyncTo(server.Port());

    sync.RequestTimeSync();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.connections == 1; }, kWaitMs));
    ASSERT_TRUE(WaitUntilClosed());
    EXPECT_TRUE(clockSetter.calls.empty());

    server.reply = "06 DEC 2026 15:40:07\r\n";
    sync.RequestTimeSync();
    ASSERT_TRUE(WaitForClockValue());
    EXPECT_EQ(server.connections, 2);
    EXPECT_EQ(clockSetter.calls.front().value, kReplyValue);
}

// The program's own exchange with a Daytime daemon nobody here wrote: daytime_peers.sh starts
// Debian's xinetd and inetd on loopback and names each here. What would be set on the clock is
// this computer's own time, in whichever zone the daemon and this process run.
// A real server on this machine (daytime_peers.sh and ntp_peers.sh name one, Daytime or
// ntp://): the value handed to the clock is this computer's own time, to within Daytime's whole
// seconds, or 10 ms for NTP.
TEST_F(QtTimeSocketTest, RealDaemonsReplyIsThisComputersTime) {
    const char* peer = std::getenv("HORALIA_DAYTIME_PEER");
    if (peer == nullptr)
        GTEST_SKIP() << "no daemon named in HORALIA_DAYTIME_PEER (daytime_peers.sh names one)";
    const auto servers = ParseTimeServerList(peer);
    ASSERT_TRUE(servers.has_value()) << peer;
    const ZoneClock& system = SystemZoneClock();
    fakes::StampingClockSetter setter(system);
    TimeSync sync(socket, setter, socket.ReplyTimer(), system);
    sync.SetServers(*servers);
    socket.SetEvents(&sync);
    sync.RequestTimeSync();
    ASSERT_TRUE(QTest::qWaitFor([&] { return setter.expected.has_value(); }, kWaitMs));
    socket.SetEvents(nullptr);

    const std::int64_t set = setter.value;
    const bool ntp = servers->front().protocol == TimeProtocol::kNtp;
    EXPECT_LE(std::abs(set - *setter.expected), ntp ? 10 : 2000) << peer;
    std::printf("%s: the value set is %lld ms from this computer's time\n", peer,
                static_cast<long long>(set - *setter.expected));
}

TEST_F(QtTimeSocketTest, RefusedConnectionClosesTheSocketForTheNextRequest) {
    std::uint16_t unusedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        unusedPort = probe.serverPort();
    }
    SyncTo(unusedPort).RequestTimeSync();
    EXPECT_FALSE(socket.IsClosed());
    ASSERT_TRUE(WaitUntilClosed());
    EXPECT_TRUE(clockSetter.calls.empty());
}

TEST_F(QtTimeSocketTest, RequestWhileAnExchangeIsOpenMakesNoSecondConnection) {
    DaytimeServer server("06 DEC 2026 15:40:07\r\n");
    TimeSync& sync = SyncTo(server.Port());

    sync.RequestTimeSync();
    sync.RequestTimeSync();
    ASSERT_TRUE(WaitForClockValue());
    QTest::qWait(100);  // room for a second connection, were one made
    EXPECT_EQ(server.connections, 1);
    EXPECT_EQ(clockSetter.calls.size(), 1u);
}

TEST_F(QtTimeSocketTest, MuteServerIsGivenUpWhenTheReplyTimerExpires) {
    DaytimeServer server("");
    server.silent = true;
    TimeSync& sync = SyncTo(server.Port());

    sync.RequestTimeSync();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.connections == 1; }, kWaitMs));
    socket.ReplyTimer().Start(50);  // instead of the real ten seconds
    ASSERT_TRUE(WaitUntilClosed());
    EXPECT_TRUE(clockSetter.calls.empty());
}

}  // namespace
}  // namespace horalia::qt
