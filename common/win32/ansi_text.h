// Conversions at the edge of the Windows shell: the core speaks UTF-8, the A functions take the
// ANSI code page (936 on Chinese systems), the W functions UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace horalia::win32 {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
std::string Utf8ToAnsi(std::string_view text);
std::string AnsiToUtf8(std::string_view text);

}  // namespace horalia::win32
