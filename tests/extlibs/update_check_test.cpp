#include "extlibs/update/update_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extlibs/update/update_text.h"

namespace horalia::update {
namespace {

class RecordingPorts : public UpdatePorts {
  public:
    std::optional<std::string> response;
    bool answer = false;
    std::vector<std::string> fetched, asked, opened;

    std::optional<std::string> Fetch(const std::string& url) override {
        fetched.push_back(url);
        return response;
    }
    bool AskToOpen(const std::string& version) override {
        asked.push_back(version);
        return answer;
    }
    void OpenPage(const std::string& url) override { opened.push_back(url); }
};

constexpr char kUrl[] = "http://www.example.com/softs/tolvex/update.txt";

TEST(UpdateCheck_CheckForUpdate, OffersANewerVersionAndOpensItsPageOnYes) {
    RecordingPorts ports;
    ports.response = "3.0.1.0\r\nhttp://www.example.com/dl/\r\n";
    ports.answer = true;
    CheckForUpdate(kUrl, ports);
    EXPECT_EQ(ports.fetched, std::vector<std::string>{kUrl});
    EXPECT_EQ(ports.asked, std::vector<std::string>{"3.0.1.0"});
    EXPECT_EQ(ports.opened, std::vector<std::string>{"http://www.example.com/dl/"});
}

TEST(UpdateCheck_CheckForUpdate, OpensNothingWhenTheUserSaysNo) {
    RecordingPorts ports;
    ports.response = "3.0.1.0\nhttp://www.example.com/dl/\n";
    CheckForUpdate(kUrl, ports);
    EXPECT_EQ(ports.asked.size(), 1u);
    EXPECT_TRUE(ports.opened.empty());
}

TEST(UpdateCheck_CheckForUpdate, StaysSilentWithoutANewerWellFormedText) {
    const std::optional<std::string> responses[] = {
        std::nullopt,                             // network or HTTP failure
        "3.0.0.0\nhttp://www.example.com/dl/\n",  // the same version
        "2.5.0.0\nhttp://www.example.com/dl/\n",  // an older one
        "9.0.0.0\n",                              // no download page
        "9.0.0.0\nfile:///C:/Windows/calc.exe\n",
        "9.0.0.0\nhttp://www.example.com/dl/\n" + std::string(kMaxUpdateTextSize, 'x'),
        "",
    };
    for (const std::optional<std::string>& response : responses) {
        RecordingPorts ports;
        ports.response = response;
        ports.answer = true;
        CheckForUpdate(kUrl, ports);
        EXPECT_EQ(ports.fetched.size(), 1u);
        EXPECT_TRUE(ports.asked.empty()) << response.value_or("(no response)");
        EXPECT_TRUE(ports.opened.empty());
    }
}

TEST(UpdateCheck_CheckForUpdate, FetchesOnlyWebUrls) {
    for (const char* url : {"", "file:///etc/passwd", "C:\\update.txt", "ftp://example.com/u"}) {
        RecordingPorts ports;
        ports.response = "9.0.0.0\nhttp://www.example.com/dl/\n";
        CheckForUpdate(url, ports);
        EXPECT_TRUE(ports.fetched.empty()) << url;
    }
}

TEST(UpdateCheck_TryBeginCheck, AdmitsOneCheckAtATime) {
    ASSERT_TRUE(TryBeginCheck());
    EXPECT_FALSE(TryBeginCheck());
    EXPECT_FALSE(TryBeginCheck());
    EndCheck();
    EXPECT_TRUE(TryBeginCheck());
    EndCheck();
}

}  // namespace
}  // namespace horalia::update
