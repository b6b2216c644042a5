#include "ui/extras/about_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/extras/urls.h"

namespace horalia {
namespace {

class FakeOpener : public UrlOpener {
  public:
    void Open(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2) {
        lines.push_back(text.substr(start, at - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

TEST(AboutBox, LoadSetsCaptionTitleAndVersion) {
    FakeOpener opener;
    frmAbout about(opener);
    EXPECT_EQ(about.Texts().title, "应用程序标题");
    about.Form_Load();
    EXPECT_EQ(about.Texts().caption, "关于 Horalia");
    EXPECT_EQ(about.Texts().title, "Horalia");
    EXPECT_EQ(about.Texts().version, "版本 3.0.0.0");
    EXPECT_EQ(about.Texts().disclaimer, "官方网站：");
    EXPECT_EQ(about.Texts().link, kVendorSiteUrl);
    EXPECT_NE(about.Texts().link.find("#soft_21"), std::string::npos);
}

TEST(AboutBox, VersionLabelKeepsTheThirdPartZero) {
    EXPECT_EQ(VersionLabel(3, 0, 0), "版本 3.0.0.0");
    EXPECT_EQ(VersionLabel(10, 2, 17), "版本 10.2.0.17");
}

TEST(AboutBox, DescriptionHasItsFiveLines) {
    FakeOpener opener;
    frmAbout about(opener);
    const std::vector<std::string> lines = Lines(about.Texts().description);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "一款用中文语音为您报时的免费软件。");
    EXPECT_EQ(lines[1],
              "同时还具有利用英特网时间服务器校准本地时间的功能。该软件功能简明扼要，安装删除均很简"
              "单是一款绿色软件。");
    EXPECT_EQ(lines[2], "软件运行以图标形式显示在桌面系统托盘上。");
    EXPECT_EQ(lines[4], "您可以进入设置界面，进行有关项目的设置，如设定报时规则、网络校时、等等。");
}

TEST(AboutBox, LinkOpensOnlyForTheLeftButtonAlone) {
    const std::pair<int, bool> cases[] = {
        {kLeftButton, true},
        {kRightButton, false},
        {kMiddleButton, false},
        {kLeftButton | kRightButton, false},
        {kLeftButton | kMiddleButton, false},
        {0, false},
    };
    for (const auto& [button, opens] : cases) {
        FakeOpener opener;
        frmAbout about(opener);
        about.Form_Load();
        about.Label_链接官方网站_MouseDown(button);
        EXPECT_EQ(opener.opened,
                  opens ? std::vector<std::string>{kVendorSiteUrl} : std::vector<std::string>{})
            << button;
    }
}

}  // namespace
}  // namespace horalia
