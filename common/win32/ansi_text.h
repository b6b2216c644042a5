// Conversions at the edge of the Windows shell: the core speaks UTF-8, the A functions take the
// ANSI code page (936 on Chinese systems), the W functions UTF-16.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace horalia::win32 {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
std::string Utf8ToAnsi(std::string_view text);
std::string AnsiToUtf8(std::string_view text);

// Exact conversions between UTF-8 and a code page (936 for GBK, whatever the system's own):
// nothing for bytes that are no text in the source, or a character the target cannot hold (no
// best-fit stand-ins).
std::optional<std::string> CodePageToUtf8(unsigned codePage, std::string_view text);
std::optional<std::string> Utf8ToCodePage(unsigned codePage, std::string_view text);

}  // namespace horalia::win32
