#include "common/trim.h"

#include <gtest/gtest.h>

namespace horalia {
namespace {

TEST(Trimmed, TakesBlanksOffBothEndsOnly) {
    const struct {
        std::string_view text, blanks, expected;
    } cases[] = {
        {"", " \t", ""},
        {" \t \t", " \t", ""},
        {"\t 22:00 \t", " \t", "22:00"},
        {"Ctrl + T", " \t", "Ctrl + T"},  // blanks inside stay
        {" 现在时间 ", " \t", "现在时间"},
        {"\r\nkey\r\n", " \t", "\r\nkey\r\n"},  // line ends are not blanks
        {" \tC:\\Value.ini\t ", " ", "\tC:\\Value.ini\t"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Trimmed(c.text, c.blanks), c.expected) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace horalia
