#include "extlibs/update/update_text.h"

#include <algorithm>
#include <charconv>

#include "common/identity.h"

namespace horalia::update {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Cuts the first line (without its LF) off `text`; a CR before the LF is left to Trim.
std::string_view TakeLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
        return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
    });
}

// Printable ASCII without the characters RFC 3986 never allows in a URL.
bool IsUrlCharacter(char c) {
    constexpr std::string_view kExcluded = "\"<>\\^`{|}";
    return c > ' ' && c < 0x7F && kExcluded.find(c) == std::string_view::npos;
}

}  // namespace

std::optional<Version> ParseVersion(std::string_view text) {
    Version version;
    for (std::size_t i = 0; i < version.parts.size(); ++i) {
        if (i > 0) {
            if (text.empty() || text.front() != '.')
                return std::nullopt;
            text.remove_prefix(1);
        }
        // from_chars would accept a sign or stop early; only plain digits are a part.
        const std::size_t digits = std::min(text.find_first_not_of("0123456789"), text.size());
        if (digits == 0 || digits > 5)
            return std::nullopt;
        unsigned value = 0;
        std::from_chars(text.data(), text.data() + digits, value);
        if (value > 0xFFFF)
            return std::nullopt;
        version.parts[i] = static_cast<std::uint16_t>(value);
        text.remove_prefix(digits);
    }
    if (!text.empty())
        return std::nullopt;
    return version;
}

bool IsWebUrl(std::string_view text) {
    std::size_t schemeLength = 0;
    if (StartsWithNoCase(text, "http://"))
        schemeLength = 7;
    else if (StartsWithNoCase(text, "https://"))
        schemeLength = 8;
    else
        return false;
    const std::string_view rest = text.substr(schemeLength);
    if (rest.empty() || rest.front() == '/' || rest.front() == '?' || rest.front() == '#')
        return false;
    return std::all_of(text.begin(), text.end(), IsUrlCharacter);
}

std::optional<UpdateNotice> ParseUpdateText(std::string_view text) {
    if (text.size() > kMaxUpdateTextSize)
        return std::nullopt;
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    const std::string_view version = Trim(TakeLine(text));
    const std::string_view page = Trim(TakeLine(text));
    if (!ParseVersion(version) || !IsWebUrl(page))
        return std::nullopt;
    return UpdateNotice{std::string(version), std::string(page)};
}

bool IsNewerThanThisProgram(std::string_view version) {
    const std::optional<Version> offered = ParseVersion(version);
    const std::optional<Version> current = ParseVersion(kProgramVersion);
    return offered && current && *offered > *current;
}

std::string UpdatePromptText(std::string_view version) {
    return "发现新版本 " + std::string(version) + "，是否打开下载页面？";
}

}  // namespace horalia::update
