// A small INI engine for platforms without the private-profile functions: parses decoded UTF-8
// text into lines, looks keys up without regard to ASCII letter case, sets values in place and
// writes the text back with every other byte unchanged, line ends included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace horalia::ini {

// Converts between the files' legacy code page (GBK) and UTF-8; nothing when a text does not
// convert.
class TextCodec {
  public:
    virtual ~TextCodec() = default;
    virtual std::optional<std::string> GbkToUtf8(std::string_view gbk) = 0;
    virtual std::optional<std::string> Utf8ToGbk(std::string_view utf8) = 0;
};

enum class Encoding { kGbk, kUtf8, kUtf8Bom };

// Files larger than this are not taken for a settings file.
inline constexpr std::size_t kMaxFileBytes = 1024 * 1024;

class IniDocument {
  public:
    struct Line {
        std::string text;    // without its line end
        std::string ending;  // "\r\n", "\n", or empty for a last line that has none
        bool operator==(const Line&) const = default;
    };

    static IniDocument Parse(std::string_view utf8Text);

    // The value with its surrounding blanks, and one pair of matching quotes around it, removed.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Every key of the section (its first of that name) with its value as Get reads it, in order.
    std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;
    // Replaces the one line of the key, or adds it (after the section's last line that is not
    // blank, with its header when the section is new), ended as the file's lines are.
    // False, and the document unchanged, when the texts could not be read back (see CanWrite).
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // The text exactly as parsed, with the changes of Set.
    std::string Serialize() const;

    const std::vector<Line>& Lines() const { return lines_; }
    // The line end of the file's first ended line; CR LF for a file without one.
    std::string_view LineEnding() const;

  private:
    void Insert(std::size_t at, std::string text);

    std::vector<Line> lines_;
};

struct DecodedText {
    std::string utf8;
    Encoding encoding = Encoding::kGbk;
};

// Whether a key can be written so that it reads back as written: no line break or NUL anywhere,
// a section name without ']', a key name without '=' that does not start like a section or a
// comment line, and neither name blank.
bool CanWrite(std::string_view section, std::string_view key, std::string_view value);

bool IsValidUtf8(std::string_view bytes);

// File bytes to text: a BOM or valid UTF-8 with multi-byte sequences is UTF-8, anything else is
// GBK. Nothing for bytes that are no text (NUL bytes, too large, GBK that does not decode, or
// that would not encode back to the very same bytes).
std::optional<DecodedText> DecodeFile(std::string_view bytes, TextCodec& codec);
// Text to file bytes in the given encoding. Nothing when the text has no GBK form, or when the
// bytes would not read back (DecodeFile) as this very text: a line written in GBK can leave a
// file that is valid UTF-8 as a whole, and every other line would then read as something else.
std::optional<std::string> EncodeFile(std::string_view utf8, Encoding encoding, TextCodec& codec);

// The integer at the start of a value, as GetPrivateProfileInt reads it: blanks, an optional
// sign, decimal digits; 0 when there are none. Saturates at the 32-bit limits.
std::int32_t LeadingInteger(std::string_view value);

// The value as it comes out of a buffer of size bytes in the file's encoding: at most size - 1
// bytes, never ending in half a character.
std::string CutToBuffer(const std::string& utf8, Encoding encoding, std::int32_t size,
                        TextCodec& codec);

}  // namespace horalia::ini
