// The WinINet fetch against a server on the loopback interface, under Wine.
#include "extlibs/update/win32/wininet_fetch.h"

#include <gtest/gtest.h>

#include "extlibs/update/update_text.h"
#include "fakes/loopback_server.h"

namespace horalia::update {
namespace {

using horalia::testing::HttpResponse;
using horalia::testing::LoopbackServer;

constexpr char kText[] = "3.1.0.0\r\nhttp://www.example.com/dl/\r\n";

TEST(WinInetFetch_FetchWithWinInet, ReturnsTheBodyOfASuccessfulResponse) {
    LoopbackServer server({{"/u.txt", HttpResponse(200, kText)}});
    EXPECT_EQ(FetchWithWinInet(server.Url("/u.txt")), kText);
}

TEST(WinInetFetch_FetchWithWinInet, FailsOnHttpErrors) {
    LoopbackServer server(
        {{"/gone", HttpResponse(404, kText)}, {"/broken", HttpResponse(500, kText)}});
    for (const char* path : {"/gone", "/broken", "/unknown"})
        EXPECT_FALSE(FetchWithWinInet(server.Url(path))) << path;
}

TEST(WinInetFetch_FetchWithWinInet, CutsALongBodyOneByteBeyondTheLimit) {
    LoopbackServer server({{"/big", HttpResponse(200, std::string(100000, 'x'))}});
    const std::optional<std::string> body = FetchWithWinInet(server.Url("/big"));
    ASSERT_TRUE(body);
    EXPECT_EQ(body->size(), kMaxUpdateTextSize + 1);
}

TEST(WinInetFetch_FetchWithWinInet, GivesUpWhenNobodyAnswers) {
    LoopbackServer server({{"/u.txt", HttpResponse(200, kText)}});
    server.Hold();
    EXPECT_FALSE(FetchWithWinInet(server.Url("/u.txt"), std::chrono::milliseconds(500)));
    const std::string refused =
        "http://127.0.0.1:" + std::to_string(horalia::testing::UnusedPort()) + "/u.txt";
    EXPECT_FALSE(FetchWithWinInet(refused));
}

}  // namespace
}  // namespace horalia::update
