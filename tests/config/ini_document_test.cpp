#include "config/ini_document.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "config_test_support.h"

namespace horalia::ini {
namespace {

using horalia::testing::PlatformGbkCodec;

// A file with everything a hand edit may leave: comments, blanks, quotes, other sections, a
// repeated section, a key before any section.
const std::string kEdited =
    "stray=before any section\r\n"
    "; comment\r\n"
    "[Horalia]\r\n"
    "报时设置=2\r\n"
    " Key = value with blanks \r\n"
    "quoted=\"12\"\r\n"
    "single='x'\r\n"
    "unbalanced=\"x\r\n"
    "empty=\r\n"
    "equals=a=b\r\n"
    ";hidden=1\r\n"
    "\r\n"
    "[Other]\r\n"
    "k=other\r\n"
    "[horalia]\r\n"
    "later=not seen\r\n";

TEST(IniDocument_Get, LooksUpLikeTheProfileFunctions) {
    const IniDocument doc = IniDocument::Parse(kEdited);
    const struct {
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    } cases[] = {
        {"Horalia", "报时设置", "2"},
        {"HORALIA", "报时设置", "2"},
        {"horalia", "KEY", "value with blanks"},
        {" Horalia ", " key ", "value with blanks"},
        {"Horalia", "quoted", "12"},
        {"Horalia", "single", "x"},
        {"Horalia", "unbalanced", "\"x"},
        {"Horalia", "empty", ""},
        {"Horalia", "equals", "a=b"},
        {"Horalia", "hidden", std::nullopt},
        {"Horalia", ";hidden", std::nullopt},
        {"Horalia", "k", std::nullopt},
        {"Other", "k", "other"},
        {"Horalia", "later", std::nullopt},  // only the first section of a name counts
        {"Horalia", "stray", std::nullopt},
        {"Missing", "k", std::nullopt},
        {"Horalia", "报时", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(doc.Get(c.section, c.key), c.expected) << c.section << " / " << c.key;
    }
}

TEST(IniDocument_Parse, KeepsEveryByte) {
    using Line = IniDocument::Line;
    const IniDocument doc = IniDocument::Parse("a\nb\r\n\r\nc");
    EXPECT_EQ(doc.Lines(),
              (std::vector<Line>{{"a", "\n"}, {"b", "\r\n"}, {"", "\r\n"}, {"c", ""}}));
    EXPECT_EQ(doc.LineEnding(), "\n");
    for (const std::string text : {"", "a", "a\n", "a\r", "a\r\r\nb\n\n", kEdited.c_str()}) {
        EXPECT_EQ(IniDocument::Parse(text).Serialize(), text);
    }
    EXPECT_EQ(IniDocument::Parse("no line end").LineEnding(), "\r\n");
}

TEST(IniDocument_Set, CreatesReplacesAndKeepsTheRest) {
    const struct {
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    } cases[] = {
        {"", "Horalia", "报时设置", "0", "[Horalia]\r\n报时设置=0\r\n"},
        {"[Horalia]\r\nKey=1\r\n", "horalia", "KEY", "2", "[Horalia]\r\nKey=2\r\n"},
        {"[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "A", "z", "3",
         "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
        {"; c\r\n[B]\r\ny=2\r\n", "A", "z", "3", "; c\r\n[B]\r\ny=2\r\n[A]\r\nz=3\r\n"},
        {"[A]\r\n", "A", "k", "v", "[A]\r\nk=v\r\n"},
        // The file's own line ends, the one line owned by the write, every other byte kept.
        {"[A]\nk=1\n", "A", "k", "2", "[A]\nk=2\n"},
        {"# x\n[A]\r\nk=1\n", "A", "j", "2", "# x\n[A]\r\nk=1\nj=2\n"},
        {"[A]\r\nk=1", "A", "j", "2", "[A]\r\nk=1\r\nj=2\r\n"},
        {"[A]\nk=1\n\n[B]\n", "A", "j", "2", "[A]\nk=1\nj=2\n\n[B]\n"},
        {"x=1", "A", "k", "v", "x=1\r\n[A]\r\nk=v\r\n"},
        {"x=1\n", "A", "k", "v", "x=1\n[A]\nk=v\n"},
        {"x=1\n[A\r", "A", "k", "v", "x=1\n[A\r\r\n[A]\nk=v\n"},  // "[A\r" is no header
        {"[A]\r\n  k = 1 \r\n", "A", "k", "2", "[A]\r\nk=2\r\n"},
        {"", " A ", " k ", "v", "[A]\r\nk=v\r\n"},
        {"[A]\r\n;k=1\r\n", "A", "k", "2", "[A]\r\n;k=1\r\nk=2\r\n"},
        {"[A]\r\nk=1\r\n[A]\r\nk=9\r\n", "A", "k", "2", "[A]\r\nk=2\r\n[A]\r\nk=9\r\n"},
        {"[A]\r\nk=1\r\n", "A", "k", "", "[A]\r\nk=\r\n"},
    };
    for (const auto& c : cases) {
        IniDocument doc = IniDocument::Parse(c.before);
        EXPECT_TRUE(doc.Set(c.section, c.key, c.value)) << c.before;
        EXPECT_EQ(doc.Serialize(), c.after) << c.before;
        EXPECT_EQ(IniDocument::Parse(c.after).Get(c.section, c.key), std::string(c.value))
            << c.before;
    }
}

TEST(IniDocument_Set, RefusesTextsThatWouldNotReadBack) {
    const struct {
        std::string section;
        std::string key;
        std::string value;
    } refused[] = {
        {"Horalia", "k", "1\r\n[Other]"},
        {"Horalia", "k", "a\nb"},
        {"Horalia", "a\rb", "1"},
        {"Horalia", std::string("k\0x", 3), "1"},
        {"Horalia", "k", std::string("1\0", 2)},
        {"Horalia", "a=b", "1"},
        {"Horalia", "", "1"},
        {"Horalia", "  ", "1"},
        {"Horalia", "[x", "1"},
        {"Horalia", ";x", "1"},
        {"Horalia", "#x", "1"},
        {"", "k", "1"},
        {"a]b", "k", "1"},
        {"A\nB", "k", "1"},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(CanWrite(c.section, c.key, c.value)) << c.section << "/" << c.key;
        IniDocument doc = IniDocument::Parse(kEdited);
        EXPECT_FALSE(doc.Set(c.section, c.key, c.value)) << c.section << "/" << c.key;
        EXPECT_EQ(doc.Serialize(), kEdited);
    }
    EXPECT_TRUE(CanWrite("Horalia", "广告日期", "2026|12|06"));
    EXPECT_TRUE(CanWrite("Horalia", "k", ""));
    EXPECT_TRUE(CanWrite("Horalia", "k", "a=b"));
    EXPECT_TRUE(CanWrite("a[b", "k", "1"));
}

TEST(IniDecode, IsValidUtf8) {
    const struct {
        std::string bytes;
        bool valid;
    } cases[] = {
        {"", true},
        {"ascii", true},
        {"中文", true},
        {"\xF0\x9F\x98\x80", true},
        {"\xC0\x80", false},          // overlong NUL
        {"\xE0\x80\x80", false},      // overlong
        {"\xED\xA0\x80", false},      // surrogate
        {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
        {"\xE4\xB8", false},          // cut short
        {"\x80", false},
        {"\xB1\xA8", false},  // GBK 报
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
    }
}

TEST(IniDecode, TellsTheEncodingAndRefusesWhatIsNoText) {
    const std::string bom = "\xEF\xBB\xBF";
    const struct {
        std::string bytes;
        std::optional<Encoding> encoding;
        std::string utf8;
    } cases[] = {
        {"", Encoding::kGbk, ""},
        {"[A]\r\nk=1\r\n", Encoding::kGbk, "[A]\r\nk=1\r\n"},
        {"k=\xB1\xA8\xCA\xB1\xC9\xE8\xD6\xC3", Encoding::kGbk, "k=报时设置"},
        {"k=报时设置", Encoding::kUtf8, "k=报时设置"},
        {bom + "k=报", Encoding::kUtf8Bom, "k=报"},
        {bom, Encoding::kUtf8Bom, ""},
        {bom + "\xB1\xA8", std::nullopt, ""},
        {std::string("k=1\0", 4), std::nullopt, ""},
        {std::string("\xFF\xFEk\0", 4), std::nullopt, ""},  // UTF-16
        {"k=\x81", std::nullopt, ""},                       // half a GBK character
        {"k=\xFF\xFF", std::nullopt, ""},
        {std::string(kMaxFileBytes + 1, 'a'), std::nullopt, ""},
    };
    for (const auto& c : cases) {
        const auto decoded = DecodeFile(c.bytes, PlatformGbkCodec());
        ASSERT_EQ(decoded.has_value(), c.encoding.has_value()) << c.bytes.substr(0, 20);
        if (!decoded) {
            continue;
        }
        EXPECT_EQ(decoded->encoding, *c.encoding) << c.bytes;
        EXPECT_EQ(decoded->utf8, c.utf8);
        // Writing back changes nothing a read accepted.
        EXPECT_EQ(EncodeFile(decoded->utf8, decoded->encoding, PlatformGbkCodec()), c.bytes);
    }
    EXPECT_TRUE(DecodeFile(std::string(kMaxFileBytes, 'a'), PlatformGbkCodec()));
}

// A converter that does not give back the bytes it read: a write would alter the whole file.
class LossyCodec : public TextCodec {
  public:
    std::optional<std::string> GbkToUtf8(std::string_view) override { return "中"; }
    std::optional<std::string> Utf8ToGbk(std::string_view) override { return "\xD6\xD0"; }
};

TEST(IniDecode, BytesThatWouldNotComeBackAreNoText) {
    LossyCodec lossy;
    EXPECT_EQ(DecodeFile("\xD6\xD0", lossy)->utf8, "中");
    EXPECT_FALSE(DecodeFile("k=\xD6\xD0\xCE\xC4", lossy));
}

TEST(IniDecode, EncodesInTheFilesOwnEncoding) {
    TextCodec& codec = PlatformGbkCodec();
    // "\xC3\xA4" is one GBK character and, as UTF-8, "ä". The only line that is not UTF-8 (a GBK
    // "报") is rewritten in ASCII: the whole file would then read as UTF-8, the section
    // with another name. Such bytes are not written.
    const auto gbk = DecodeFile("[\xC3\xA4]\r\nk=\xB1\xA8\r\n", codec);
    ASSERT_TRUE(gbk);
    IniDocument doc = IniDocument::Parse(gbk->utf8);
    const std::string section = doc.Lines()[0].text.substr(1, doc.Lines()[0].text.size() - 2);
    ASSERT_TRUE(doc.Set(section, "k", "1"));
    EXPECT_EQ(EncodeFile(doc.Serialize(), Encoding::kGbk, codec), std::nullopt);
    ASSERT_TRUE(doc.Set(section, "k", "报"));  // back to GBK that is no UTF-8
    EXPECT_EQ(EncodeFile(doc.Serialize(), Encoding::kGbk, codec),
              std::string("[\xC3\xA4]\r\nk=\xB1\xA8\r\n"));

    EXPECT_EQ(EncodeFile("报", Encoding::kGbk, codec), std::string("\xB1\xA8"));
    EXPECT_EQ(EncodeFile("报", Encoding::kUtf8, codec), std::string("报"));
    EXPECT_EQ(EncodeFile("报", Encoding::kUtf8Bom, codec), std::string("\xEF\xBB\xBF报"));
    EXPECT_EQ(EncodeFile("\xF0\x9F\x98\x80", Encoding::kGbk, codec), std::nullopt);
}

TEST(IniValue, LeadingInteger) {
    const struct {
        const char* value;
        std::int32_t expected;
    } cases[] = {
        {"", 0},
        {"0", 0},
        {"2", 2},
        {"  7", 7},
        {"-3", -3},
        {"+4", 4},
        {"12abc", 12},
        {"3.9", 3},
        {"abc", 0},
        {"- 5", 0},
        {"-", 0},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"99999999999999999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-99999999999999999999999", INT32_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingInteger(c.value), c.expected) << c.value;
    }
}

TEST(IniValue, CutToBufferKeepsWholeCharacters) {
    const struct {
        const char* value;
        Encoding encoding;
        std::int32_t size;
        const char* expected;
    } cases[] = {
        {"中文中文", Encoding::kGbk, -1, ""},
        {"中文中文", Encoding::kGbk, 0, ""},
        {"中文中文", Encoding::kGbk, 1, ""},
        {"中文中文", Encoding::kGbk, 2, ""},
        {"中文中文", Encoding::kGbk, 3, "中"},
        {"中文中文", Encoding::kGbk, 4, "中"},
        {"中文中文", Encoding::kGbk, 5, "中文"},
        {"中文中文", Encoding::kGbk, 8, "中文中"},
        {"中文中文", Encoding::kGbk, 9, "中文中文"},
        {"中文中文", Encoding::kGbk, 1000, "中文中文"},
        {"a中b", Encoding::kGbk, 3, "a"},
        {"a中b", Encoding::kGbk, 4, "a中"},
        {"2026|12|06xxxxx", Encoding::kGbk, 12, "2026|12|06x"},
        {"中文", Encoding::kUtf8, 3, ""},
        {"中文", Encoding::kUtf8, 4, "中"},
        {"中文", Encoding::kUtf8Bom, 6, "中"},
        {"中文", Encoding::kUtf8, 7, "中文"},
        {"\xF0\x9F\x98\x80!", Encoding::kUtf8, 5, "\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutToBuffer(c.value, c.encoding, c.size, PlatformGbkCodec()), c.expected)
            << c.value << " size " << c.size;
    }
}

}  // namespace
}  // namespace horalia::ini
