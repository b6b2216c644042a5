#include "config/ini_document.h"

#include <algorithm>
#include <limits>

#include "common/trim.h"

namespace horalia::ini {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// The name of a section header line ("[name]"), or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = trimmed.find(']');
    if (close == std::string_view::npos) {
        return Trimmed(trimmed.substr(1));
    }
    return Trimmed(trimmed.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> SplitKeyLine(std::string_view line) {
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') {
        return std::nullopt;
    }
    const std::size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{Trimmed(trimmed.substr(0, eq)), Trimmed(trimmed.substr(eq + 1))};
}

// The profile functions hand out 'text' and "text" without their quotes.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t newline = text.find('\n', start);
        if (newline == std::string_view::npos) {
            doc.lines_.push_back({std::string(text.substr(start)), {}});
            break;
        }
        std::string_view line = text.substr(start, newline - start);
        std::string_view ending = "\n";
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            ending = "\r\n";
        }
        doc.lines_.push_back({std::string(line), std::string(ending)});
        start = newline + 1;
    }
    return doc;
}

std::string_view IniDocument::LineEnding() const {
    for (const Line& line : lines_) {
        if (!line.ending.empty()) {
            return line.ending;
        }
    }
    return "\r\n";
}

void IniDocument::Insert(std::size_t at, std::string text) {
    const std::string ending(LineEnding());
    // A last line without a line end gets one before anything follows it. If it ends in CR, an
    // LF would join that CR into a CR LF and the line would read otherwise: it gets CR LF.
    if (at > 0 && lines_[at - 1].ending.empty()) {
        lines_[at - 1].ending = lines_[at - 1].text.ends_with('\r') ? "\r\n" : ending;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), ending});
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    section = Trimmed(section);
    key = Trimmed(key);
    bool inSection = false;
    for (const Line& entry : lines_) {
        const std::string& line = entry.text;
        if (const auto name = SectionName(line)) {
            if (inSection) {
                return std::nullopt;  // only the first section of that name counts
            }
            inSection = SameName(*name, section);
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (const auto kv = SplitKeyLine(line); kv && SameName(kv->key, key)) {
            return std::string(Unquote(kv->value));
        }
    }
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> IniDocument::Entries(
    std::string_view section) const {
    section = Trimmed(section);
    std::vector<std::pair<std::string, std::string>> entries;
    bool inSection = false;
    for (const Line& entry : lines_) {
        if (const auto name = SectionName(entry.text)) {
            if (inSection) {
                break;
            }
            inSection = SameName(*name, section);
        } else if (const auto kv = SplitKeyLine(entry.text); inSection && kv) {
            entries.emplace_back(std::string(kv->key), std::string(Unquote(kv->value)));
        }
    }
    return entries;
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (!CanWrite(section, key, value)) {
        return false;
    }
    section = Trimmed(section);
    key = Trimmed(key);
    bool inSection = false;
    std::optional<std::size_t> insertAt;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string& line = lines_[i].text;
        if (const auto name = SectionName(line)) {
            if (inSection) {
                break;
            }
            inSection = SameName(*name, section);
            if (inSection) {
                insertAt = i + 1;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (const auto kv = SplitKeyLine(line)) {
            if (SameName(kv->key, key)) {
                // Keep the key as spelt in the file; only the value changes.
                lines_[i].text = std::string(kv->key) + "=" + std::string(value);
                return true;
            }
        }
        if (!Trimmed(line).empty()) {
            insertAt = i + 1;
        }
    }
    std::string keyLine = std::string(key) + "=" + std::string(value);
    if (insertAt) {
        Insert(*insertAt, std::move(keyLine));
        return true;
    }
    Insert(lines_.size(), "[" + std::string(section) + "]");
    Insert(lines_.size(), std::move(keyLine));
    return true;
}

std::string IniDocument::Serialize() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += line.ending;
    }
    return out;
}

bool CanWrite(std::string_view section, std::string_view key, std::string_view value) {
    if (HasLineBreakOrNul(section) || HasLineBreakOrNul(key) || HasLineBreakOrNul(value)) {
        return false;
    }
    section = Trimmed(section);
    key = Trimmed(key);
    if (section.empty() || key.empty()) {
        return false;
    }
    const char first = key.front();
    return section.find(']') == std::string_view::npos && key.find('=') == std::string_view::npos &&
           first != '[' && first != ';' && first != '#';
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= bytes.size()) {
            return false;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(bytes[i + k]);
            if ((t & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (t & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

std::optional<DecodedText> DecodeFile(std::string_view bytes, TextCodec& codec) {
    if (bytes.size() > kMaxFileBytes || bytes.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    if (bytes.substr(0, kBom.size()) == kBom) {
        const std::string_view rest = bytes.substr(kBom.size());
        if (IsValidUtf8(rest)) {
            return DecodedText{std::string(rest), Encoding::kUtf8Bom};
        }
        return std::nullopt;
    }
    bool multiByte = false;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            multiByte = true;
            break;
        }
    }
    if (multiByte && IsValidUtf8(bytes)) {
        return DecodedText{std::string(bytes), Encoding::kUtf8};
    }
    if (!multiByte) {
        return DecodedText{std::string(bytes), Encoding::kGbk};
    }
    // Bytes that do not come back unchanged would be altered by the next write of any key.
    auto utf8 = codec.GbkToUtf8(bytes);
    if (!utf8 || codec.Utf8ToGbk(*utf8) != bytes) {
        return std::nullopt;
    }
    return DecodedText{std::move(*utf8), Encoding::kGbk};
}

std::optional<std::string> EncodeFile(std::string_view utf8, Encoding encoding, TextCodec& codec) {
    std::optional<std::string> bytes;
    switch (encoding) {
        case Encoding::kUtf8:
            bytes = std::string(utf8);
            break;
        case Encoding::kUtf8Bom:
            bytes = std::string(kBom) + std::string(utf8);
            break;
        case Encoding::kGbk:
            bytes = codec.Utf8ToGbk(utf8);
            break;
    }
    if (!bytes) {
        return std::nullopt;
    }
    const auto reread = DecodeFile(*bytes, codec);
    if (!reread || reread->utf8 != utf8) {
        return std::nullopt;
    }
    return bytes;
}

std::int32_t LeadingInteger(std::string_view value) {
    value = Trimmed(value);
    bool negative = false;
    if (!value.empty() && (value.front() == '+' || value.front() == '-')) {
        negative = value.front() == '-';
        value.remove_prefix(1);
    }
    std::int64_t result = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (const char c : value) {
        if (c < '0' || c > '9') {
            break;
        }
        result = result * 10 + (c - '0');
        if (result > kLimit) {
            result = kLimit;
        }
    }
    if (negative) {
        return static_cast<std::int32_t>(-result);
    }
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(result, std::numeric_limits<std::int32_t>::max()));
}

std::string CutToBuffer(const std::string& utf8, Encoding encoding, std::int32_t size,
                        TextCodec& codec) {
    if (size <= 1) {
        return {};
    }
    const auto limit = static_cast<std::size_t>(size - 1);
    if (encoding == Encoding::kGbk) {
        const auto gbk = codec.Utf8ToGbk(utf8);
        if (gbk) {
            if (gbk->size() <= limit) {
                return utf8;
            }
            std::size_t end = 0;
            while (end < gbk->size()) {
                const auto c = static_cast<unsigned char>((*gbk)[end]);
                const std::size_t width = (c >= 0x81 && c <= 0xFE) ? 2 : 1;
                if (end + width > limit) {
                    break;
                }
                end += width;
            }
            if (auto back = codec.GbkToUtf8(std::string_view(*gbk).substr(0, end))) {
                return *back;
            }
            return {};
        }
        // A value with no GBK form only came from a UTF-8 edit; cut it as UTF-8.
    }
    if (utf8.size() <= limit) {
        return utf8;
    }
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) {
        --end;
    }
    return utf8.substr(0, end);
}

}  // namespace horalia::ini
