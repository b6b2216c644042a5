// The libcurl fetch against a server on the loopback interface.
#include "extlibs/update/linux/curl_fetch.h"

#include <gtest/gtest.h>

#include "extlibs/update/update_text.h"
#include "fakes/loopback_server.h"

namespace horalia::update {
namespace {

using horalia::testing::HttpResponse;
using horalia::testing::LoopbackServer;

constexpr char kText[] = "3.1.0.0\r\nhttp://www.example.com/dl/\r\n";

TEST(CurlFetch_FetchWithCurl, ReturnsTheBodyOfASuccessfulResponse) {
    LoopbackServer server({{"/u.txt", HttpResponse(200, kText)},
                           {"/moved", HttpResponse(302, "", "Location: /u.txt\r\n")}});
    EXPECT_EQ(FetchWithCurl(server.Url("/u.txt")), kText);
    EXPECT_EQ(FetchWithCurl(server.Url("/moved")), kText);
}

TEST(CurlFetch_FetchWithCurl, FailsOnHttpErrors) {
    LoopbackServer server({{"/gone", HttpResponse(404, kText)},
                           {"/broken", HttpResponse(500, kText)},
                           {"/loop", HttpResponse(302, "", "Location: /loop\r\n")}});
    for (const char* path : {"/gone", "/broken", "/loop", "/unknown"})
        EXPECT_FALSE(FetchWithCurl(server.Url(path))) << path;
}

TEST(CurlFetch_FetchWithCurl, RefusesOtherSchemesAlsoThroughARedirect) {
    LoopbackServer server(
        {{"/to-file", HttpResponse(302, "", "Location: file:///etc/hostname\r\n")}});
    EXPECT_FALSE(FetchWithCurl("file:///etc/hostname"));
    EXPECT_FALSE(FetchWithCurl(server.Url("/to-file")));
}

TEST(CurlFetch_FetchWithCurl, CutsALongBodyOneByteBeyondTheLimit) {
    LoopbackServer server({{"/big", HttpResponse(200, std::string(100000, 'x'))}});
    const std::optional<std::string> body = FetchWithCurl(server.Url("/big"));
    ASSERT_TRUE(body);
    EXPECT_EQ(body->size(), kMaxUpdateTextSize + 1);
    EXPECT_FALSE(ParseUpdateText(*body));
}

TEST(CurlFetch_FetchWithCurl, GivesUpWhenNobodyAnswers) {
    LoopbackServer server({{"/u.txt", HttpResponse(200, kText)}});
    server.Hold();
    EXPECT_FALSE(FetchWithCurl(server.Url("/u.txt"), std::chrono::milliseconds(300)));
    const std::string refused =
        "http://127.0.0.1:" + std::to_string(horalia::testing::UnusedPort()) + "/u.txt";
    EXPECT_FALSE(FetchWithCurl(refused));
}

}  // namespace
}  // namespace horalia::update
