#include "app/clip_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "fakes/fake_clip_player.h"

namespace horalia {
namespace {

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ClipLogPlayerTest : public testing::Test {
  protected:
    void SetUp() override {
        const std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
        folder_ = std::filesystem::temp_directory_path() / ("horalia-clip-log-" + test);
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};

TEST_F(ClipLogPlayerTest, AppendsEachPathAsALineThenPlaysIt) {
    const std::filesystem::path log = folder_ / "clips.log";
    std::ofstream(log, std::ios::binary) << "earlier\n";
    fakes::FakeClipPlayer inner;
    std::string logWhilePlaying;
    inner.onPlay = [&](const std::string&, std::size_t) { logWhilePlaying = Contents(log); };
    ClipLogPlayer player(inner, log);

    player.Play({{"C:\\Horalia\\Sound\\提示.wav"}}, {});
    EXPECT_EQ(logWhilePlaying, "earlier\nC:\\Horalia\\Sound\\提示.wav\n");  // written first
    player.Play({{"C:\\Horalia\\Sound\\现在时间.wav"}}, {});

    EXPECT_EQ(Contents(log),
              "earlier\nC:\\Horalia\\Sound\\提示.wav\nC:\\Horalia\\Sound\\现在时间.wav\n");
    EXPECT_EQ(inner.Paths(), (std::vector<std::string>{"C:\\Horalia\\Sound\\提示.wav",
                                                       "C:\\Horalia\\Sound\\现在时间.wav"}));
}

TEST_F(ClipLogPlayerTest, AnUnwritableLogStillPlays) {
    fakes::FakeClipPlayer inner;
    ClipLogPlayer player(inner, folder_ / "no-such-folder" / "clips.log");
    player.Play({{"a.wav"}}, {});
    EXPECT_EQ(inner.Paths(), std::vector<std::string>{"a.wav"});
}

}  // namespace
}  // namespace horalia
