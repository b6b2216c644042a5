// A filesystem path from UTF-8 text, so that Chinese names reach the file system intact on both
// platforms (on Windows the path is held as UTF-16 and opened with the wide functions).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace horalia {

inline std::filesystem::path Utf8Path(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace horalia
