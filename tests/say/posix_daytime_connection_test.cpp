// The Linux Daytime connection of horalia-say against servers on the loopback interface.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tools/say/check_time.h"

namespace horalia::say {
namespace {

using Wait = DaytimeConnection::Wait;

// Accepts one connection and sends each piece a moment apart, then waits `hold` and closes.
class LoopbackServer {
  public:
    LoopbackServer(std::vector<std::string> pieces, std::chrono::milliseconds hold)
        : listener_(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        listen(listener_, 1);
        thread_ = std::thread([this, pieces = std::move(pieces), hold] {
            const int client = accept(listener_, nullptr, nullptr);
            for (const std::string& piece : pieces) {
                send(client, piece.data(), piece.size(), 0);
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            std::this_thread::sleep_for(hold);
            close(client);
        });
    }
    ~LoopbackServer() {
        thread_.join();
        close(listener_);
    }
    std::uint16_t Port() const { return port_; }

  private:
    int listener_;
    std::uint16_t port_ = 0;
    std::thread thread_;
};

TEST(PosixDaytimeConnection, ReceivesPiecesUntilTheServerCloses) {
    LoopbackServer server({"07 DEC 2026 ", "17:07:02\r\n"}, std::chrono::milliseconds(0));
    auto connection = SystemDaytimeConnection();
    ASSERT_TRUE(connection->Connect("127.0.0.1", server.Port(), 5000));
    std::string data;
    Wait wait = Wait::kData;
    for (int i = 0; i < 10 && wait == Wait::kData; ++i) {
        wait = connection->Receive(data, 4096, 5000);
    }
    EXPECT_EQ(wait, Wait::kClosed);
    EXPECT_EQ(data, "07 DEC 2026 17:07:02\r\n");
}

TEST(PosixDaytimeConnection, ReportsSilenceAndRefusal) {
    LoopbackServer server({}, std::chrono::milliseconds(300));
    auto connection = SystemDaytimeConnection();
    ASSERT_TRUE(connection->Connect("localhost", server.Port(), 5000));
    std::string data;
    EXPECT_EQ(connection->Receive(data, 4096, 50), Wait::kTimedOut);
    EXPECT_TRUE(data.empty());

    auto refused = SystemDaytimeConnection();
    EXPECT_FALSE(refused->Connect("127.0.0.1", 1, 5000));
}

}  // namespace
}  // namespace horalia::say
