// Small helpers for reading the texts of the schedule's values.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace horalia::value_text {

// A person typing Chinese may give full-width commas, colons and dashes; they mean the same.
inline std::string WithAsciiPunctuation(std::string_view text) {
    std::string out(text);
    for (const auto& [wide, ascii] : {std::pair{"，", ","}, {"：", ":"}, {"－", "-"}}) {
        for (std::size_t at = out.find(wide); at != std::string::npos; at = out.find(wide, at)) {
            out.replace(at, std::string_view(wide).size(), ascii);
        }
    }
    return out;
}

inline std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

inline std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator)) {
        parts.push_back(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
    parts.push_back(text);
    return parts;
}

}  // namespace horalia::value_text
