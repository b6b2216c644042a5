#include "extlibs/sendcomment/feedback_mail.h"

namespace horalia::feedback {
namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// A lone CR, a lone LF and CR LF are each one line break.
std::string WithCrLfLineBreaks(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            result += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::string WithoutControlCharacters(std::string_view text) {
    std::string result;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F)
            result += c;
    }
    return result;
}

}  // namespace

std::string FeedbackCaption(std::string_view programText) {
    return "意见反馈 - " + std::string(programText);
}

std::string PercentEncode(std::string_view text) {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string result;
    result.reserve(text.size() * 3);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(byte)) {
            result += c;
        } else {
            result += '%';
            result += kHex[byte >> 4];
            result += kHex[byte & 0x0F];
        }
    }
    return result;
}

std::string FeedbackMailto(std::string_view address, std::string_view subject,
                           std::string_view body) {
    std::string link = "mailto:" + std::string(address);
    link += "?subject=" + PercentEncode(WithoutControlCharacters(subject));
    if (!body.empty())
        link += "&body=" + PercentEncode(WithCrLfLineBreaks(body));
    return link;
}

}  // namespace horalia::feedback
