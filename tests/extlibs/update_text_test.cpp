#include "extlibs/update/update_text.h"

#include <gtest/gtest.h>

#include <string>

namespace horalia::update {
namespace {

TEST(UpdateText_ParseVersion, AcceptsFourDecimalParts) {
    struct Case {
        const char* text;
        Version expected;
    };
    const Case cases[] = {
        {"3.0.0.0", {{3, 0, 0, 0}}},
        {"0.0.0.0", {{0, 0, 0, 0}}},
        {"65535.65535.65535.65535", {{65535, 65535, 65535, 65535}}},
        {"03.1.00.7", {{3, 1, 0, 7}}},
    };
    for (const Case& c : cases) {
        const std::optional<Version> version = ParseVersion(c.text);
        ASSERT_TRUE(version) << c.text;
        EXPECT_EQ(version->parts, c.expected.parts) << c.text;
    }
}

TEST(UpdateText_ParseVersion, RejectsAnythingElse) {
    for (const char* text :
         {"", "3", "3.0.0", "3.0.0.0.0", "3..0.0", ".3.0.0", "3.0.0.", "a.b.c.d", "3.0.0.65536",
          "123456.0.0.0", "-1.0.0.0", "+3.0.0.0", " 3.0.0.0", "3.0.0.0 ", "3.0.0.0\n", "3,0,0,0",
          "3.0.0.0a", "v3.0.0.0", "000000.0.0.0"})
        EXPECT_FALSE(ParseVersion(text)) << '"' << text << '"';
}

TEST(UpdateText_IsNewerThanThisProgram, ComparesPartByPartAsNumbers) {
    struct Case {
        const char* version;
        bool newer;
    };
    const Case cases[] = {
        {"3.0.0.1", true},  {"3.0.1.0", true},   {"3.1.0.0", true},  {"4.0.0.0", true},
        {"10.0.0.0", true}, {"3.0.0.10", true},  {"3.0.0.0", false}, {"03.00.00.00", false},
        {"2.9.9.9", false}, {"2.99.0.0", false}, {"0.0.0.0", false}, {"3.0.0", false},
        {"garbage", false}, {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerThanThisProgram(c.version), c.newer) << c.version;
}

TEST(UpdateText_IsWebUrl, AcceptsOnlyHttpAndHttpsWithAHost) {
    struct Case {
        std::string url;
        bool valid;
    };
    const Case cases[] = {
        {"http://www.example.com/softs/tolvex/", true},
        {"https://www.example.com/download?v=3.1&x=%20", true},
        {"HTTP://EXAMPLE.COM", true},
        {"hTtPs://example.com:8443/a#b", true},
        {"http://127.0.0.1:9/x", true},
        {"ftp://example.com/", false},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"mailto:someone@example.com", false},
        {"--help", false},
        {"www.example.com", false},
        {"http://", false},
        {"http:///path", false},
        {"http://?q", false},
        {"http:example.com", false},
        {"http://exa mple.com/", false},
        {"http://example.com/\"x\"", false},
        {"http://example.com/<x>", false},
        {"http://example.com/a|b", false},
        {"http://example.com/\t", false},
        {"http://example.com/\x7F", false},
        {"http://例子.测试/", false},
        {std::string("http://example.com/\0x", 21), false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsWebUrl(c.url), c.valid) << c.url;
}

TEST(UpdateText_ParseUpdateText, ReadsVersionAndDownloadPage) {
    struct Case {
        std::string text;
        const char* version;
        const char* page;
    };
    const Case cases[] = {
        {"3.1.0.0\nhttp://www.example.com/dl\n", "3.1.0.0", "http://www.example.com/dl"},
        {"3.1.0.0\r\nhttp://www.example.com/dl\r\n", "3.1.0.0", "http://www.example.com/dl"},
        {"3.1.0.0\nhttps://www.example.com/dl", "3.1.0.0", "https://www.example.com/dl"},
        {"\xEF\xBB\xBF"
         "2.0.0.0\nhttp://a.example/",
         "2.0.0.0", "http://a.example/"},
        {"  4.0.0.0 \t\r\n\thttp://a.example/  \r\nRelease notes\n新功能\n", "4.0.0.0",
         "http://a.example/"},
    };
    for (const Case& c : cases) {
        const std::optional<UpdateNotice> notice = ParseUpdateText(c.text);
        ASSERT_TRUE(notice) << c.text;
        EXPECT_EQ(notice->version, c.version);
        EXPECT_EQ(notice->downloadPage, c.page);
    }
}

TEST(UpdateText_ParseUpdateText, RejectsMalformedTexts) {
    const std::string cases[] = {
        "",
        "\n",
        "3.1.0.0",
        "3.1.0.0\n",
        "3.1.0.0\n\nhttp://a.example/",
        "\n3.1.0.0\nhttp://a.example/",
        "http://a.example/\n3.1.0.0",
        "3.1.0\nhttp://a.example/",
        "3.1.0.0\nftp://a.example/",
        "3.1.0.0\nhttp://a.example/ with words",
        "3.1.0.0 beta\nhttp://a.example/",
        "3.1.0.0\rhttp://a.example/",  // a lone CR is not a line break
        "<html><body>Not Found</body></html>",
        std::string("3.1.0.0\0\nhttp://a.example/", 26),
    };
    for (const std::string& text : cases)
        EXPECT_FALSE(ParseUpdateText(text)) << text;
}

TEST(UpdateText_ParseUpdateText, CapsTheTextSize) {
    const std::string head = "3.1.0.0\nhttp://a.example/\n";
    const std::string atLimit = head + std::string(kMaxUpdateTextSize - head.size(), 'x');
    EXPECT_TRUE(ParseUpdateText(atLimit));
    EXPECT_FALSE(ParseUpdateText(atLimit + "x"));
}

TEST(UpdateText_UpdatePromptText, NamesTheVersion) {
    EXPECT_EQ(UpdatePromptText("3.1.0.0"), "发现新版本 3.1.0.0，是否打开下载页面？");
}

}  // namespace
}  // namespace horalia::update
