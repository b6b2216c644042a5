// The feedback message: we have no server, so "send" hands a mailto: link to the user's mail
// program. Texts are UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace horalia::feedback {

// Longest comment the window accepts, in characters. Encoded as UTF-8 and percent-escaped a
// Chinese character takes nine bytes, and mail programs start refusing links of a few tens of
// kilobytes.
inline constexpr std::size_t kMaxCommentLength = 2000;

// "意见反馈 - " followed by the program text the caller passed.
std::string FeedbackCaption(std::string_view programText);

// Every byte except the unreserved ones (letters, digits, "-._~") as %XX.
std::string PercentEncode(std::string_view text);

// mailto:<address>?subject=...&body=... (RFC 6068). Line breaks in the body become CR LF as the
// RFC asks; control characters in the subject are dropped, as a subject is one line. An empty
// body leaves the body field out.
std::string FeedbackMailto(std::string_view address, std::string_view subject,
                           std::string_view body);

}  // namespace horalia::feedback
