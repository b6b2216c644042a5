// The Daytime connection of horalia-say against servers on the loopback interface.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "fakes/loopback_server.h"
#include "tools/say/check_time.h"

namespace horalia::say {
namespace {

using testing::kDaytime;
using testing::LoopbackServer;
using Wait = DaytimeConnection::Wait;

TEST(DaytimeConnection, ReceivesPiecesUntilTheServerCloses) {
    LoopbackServer server(kDaytime, {"07 DEC 2026 |17:07:02\r\n"});
    auto connection = SystemDaytimeConnection();
    ASSERT_TRUE(connection->Connect("127.0.0.1", server.Port(), Transport::kStream, 5000));
    std::string data;
    Wait wait = Wait::kData;
    for (int i = 0; i < 10 && wait == Wait::kData; ++i) {
        wait = connection->Receive(data, 4096, 5000);
    }
    EXPECT_EQ(wait, Wait::kClosed);
    EXPECT_EQ(data, "07 DEC 2026 17:07:02\r\n");
}

TEST(DaytimeConnection, ReportsSilenceAndRefusal) {
    LoopbackServer server(kDaytime, {""}, std::chrono::milliseconds(300));
    auto connection = SystemDaytimeConnection();
    ASSERT_TRUE(connection->Connect("localhost", server.Port(), Transport::kStream, 5000));
    std::string data;
    EXPECT_EQ(connection->Receive(data, 4096, 50), Wait::kTimedOut);
    EXPECT_TRUE(data.empty());

    auto refused = SystemDaytimeConnection();
    EXPECT_FALSE(refused->Connect("127.0.0.1", testing::UnusedPort(), Transport::kStream, 5000));
}

}  // namespace
}  // namespace horalia::say
