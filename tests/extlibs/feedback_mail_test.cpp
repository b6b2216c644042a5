#include "extlibs/sendcomment/feedback_mail.h"

#include <gtest/gtest.h>

#include <string>

namespace horalia::feedback {
namespace {

TEST(FeedbackMail_PercentEncode, KeepsOnlyUnreservedCharacters) {
    struct Case {
        std::string text;
        const char* encoded;
    };
    const Case cases[] = {
        {"", ""},
        {"AZaz09-._~", "AZaz09-._~"},
        {" ", "%20"},
        {"&=?#%+/:@", "%26%3D%3F%23%25%2B%2F%3A%40"},
        {"\r\n", "%0D%0A"},
        {std::string("\0", 1), "%00"},
        {"意见", "%E6%84%8F%E8%A7%81"},
        {"\xFF\x80", "%FF%80"},  // bytes that are not UTF-8 are escaped, not dropped
    };
    for (const Case& c : cases)
        EXPECT_EQ(PercentEncode(c.text), c.encoded) << c.text;
}

TEST(FeedbackMail_FeedbackMailto, PutsTheSubjectAndTheBodyInTheLink) {
    struct Case {
        const char* subject;
        const char* body;
        const char* link;
    };
    const Case cases[] = {
        {"Horalia 3.0.0.0", "好用",
         "mailto:feedback@example.com?subject=Horalia%203.0.0.0"
         "&body=%E5%A5%BD%E7%94%A8"},
        {"Horalia 3.0.0.0", "", "mailto:feedback@example.com?subject=Horalia%203.0.0.0"},
        // Every kind of line break becomes CR LF.
        {"S", "a\nb\r\nc\rd\n\ne",
         "mailto:feedback@example.com?subject=S"
         "&body=a%0D%0Ab%0D%0Ac%0D%0Ad%0D%0A%0D%0Ae"},
        // Typed text cannot add fields of its own.
        {"S", "x&cc=other@example.org",
         "mailto:feedback@example.com?subject=S"
         "&body=x%26cc%3Dother%40example.org"},
        // A subject is one line.
        {"a\r\nBcc: x\t", "", "mailto:feedback@example.com?subject=aBcc%3A%20x"},
        {"", "", "mailto:feedback@example.com?subject="},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FeedbackMailto("feedback@example.com", c.subject, c.body), c.link) << c.body;
}

TEST(FeedbackMail_FeedbackCaption, NamesTheProgram) {
    EXPECT_EQ(FeedbackCaption("Horalia 3.0.0.0"), "意见反馈 - Horalia 3.0.0.0");
}

}  // namespace
}  // namespace horalia::feedback
