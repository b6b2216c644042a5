// The INI engine on arbitrary file bytes: decoding, parsing, look-ups, cutting values, and one
// write read back from the bytes it produces. Aborts when a promise of the engine is broken.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "config/ini_document.h"
#include "config/linux/iconv_codec.h"

namespace {

using namespace horalia::ini;

void Check(bool promise) {
    if (!promise) {
        std::abort();
    }
}

struct Name {
    std::string section;
    std::string key;
};

// Section and key names the file itself suggests: the text of the last "[...]" line and the text
// before '=' of each line. The engine decides what they really are.
std::vector<Name> NamesIn(const IniDocument& doc) {
    std::vector<Name> names;
    std::string section;
    for (const auto& [line, ending] : doc.Lines()) {
        if (!line.empty() && line.front() == '[') {
            section = line.substr(1, line.find(']') - 1);
        } else if (const std::size_t eq = line.find('='); eq != std::string::npos) {
            names.push_back({section, line.substr(0, eq)});
        }
        if (names.size() == 16) {
            break;
        }
    }
    return names;
}

// Bytes of the value in the file's encoding.
std::size_t EncodedSize(const std::string& utf8, Encoding encoding, TextCodec& codec) {
    if (encoding == Encoding::kGbk) {
        if (const auto gbk = codec.Utf8ToGbk(utf8)) {
            return gbk->size();
        }
    }
    return utf8.size();
}

void CheckLookUps(const IniDocument& doc, Encoding encoding, std::int32_t size, TextCodec& codec) {
    for (const Name& name : NamesIn(doc)) {
        const auto value = doc.Get(name.section, name.key);
        if (!value) {
            continue;
        }
        LeadingInteger(*value);
        const std::string cut = CutToBuffer(*value, encoding, size, codec);
        Check(value->compare(0, cut.size(), cut) == 0);
        Check(EncodedSize(cut, encoding, codec) <=
              static_cast<std::size_t>(size > 0 ? size - 1 : 0));
        Check(IsValidUtf8(cut));
    }
}

// One write: it replaces one line, keeping the line's end, or adds one line (two for a new
// section) ended as the file's lines are, and every other byte stays; reading the written bytes
// back gives the new value.
void CheckWrite(const IniDocument& before, Encoding encoding, std::string_view section,
                std::string_view key, std::string_view value, TextCodec& codec) {
    IniDocument after = before;
    if (!after.Set(section, key, value)) {
        Check(!CanWrite(section, key, value));
        return;
    }
    const auto& oldLines = before.Lines();
    const auto& newLines = after.Lines();
    std::size_t first = 0;  // the first line that differs
    while (first < oldLines.size() && first < newLines.size() &&
           oldLines[first] == newLines[first]) {
        ++first;
    }
    if (newLines.size() == oldLines.size()) {  // one value replaced
        Check(first == oldLines.size() || (newLines[first].ending == oldLines[first].ending &&
                                           std::equal(oldLines.begin() + first + 1, oldLines.end(),
                                                      newLines.begin() + first + 1)));
    } else {  // a key, or a section and its key, added
        const std::size_t added = newLines.size() - oldLines.size();
        Check(added == 1 || added == 2);
        // A last line without a line end gains one, and nothing else about it changes.
        std::size_t at = first;
        if (at < oldLines.size() && oldLines[at].ending.empty() &&
            newLines[at].text == oldLines[at].text && at + 1 == oldLines.size()) {
            Check(newLines[at].ending == before.LineEnding() || newLines[at].ending == "\r\n");
            ++at;
        }
        for (std::size_t i = at; i < at + added; ++i) {
            Check(newLines[i].ending == before.LineEnding());
        }
        Check(std::equal(oldLines.begin() + at, oldLines.end(), newLines.begin() + at + added));
    }

    // The changed text reads back as the very lines it was made of.
    Check(IniDocument::Parse(after.Serialize()).Lines() == newLines);

    const auto bytes = EncodeFile(after.Serialize(), encoding, codec);
    if (!bytes || bytes->size() > kMaxFileBytes) {
        return;  // the backend refuses such a write
    }
    const auto reread = DecodeFile(*bytes, codec);
    Check(reread.has_value() && reread->utf8 == after.Serialize());
    const auto got = IniDocument::Parse(reread->utf8).Get(section, key);
    Check(got.has_value());
    const bool plain = !value.empty() && value.front() != ' ' && value.front() != '\t' &&
                       value.back() != ' ' && value.back() != '\t' && value.front() != '"' &&
                       value.front() != '\'';
    Check(!plain || *got == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    // The first byte is the read buffer's size; the rest is the file.
    const std::int32_t bufferSize = static_cast<std::int8_t>(data[0]);
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    TextCodec& codec = horalia::linux_backend::IconvCodec();

    const auto decoded = DecodeFile(bytes, codec);
    if (!decoded) {
        return 0;
    }
    // Whatever a read accepted, a write gives back byte for byte.
    Check(EncodeFile(decoded->utf8, decoded->encoding, codec) == bytes);
    const IniDocument doc = IniDocument::Parse(decoded->utf8);
    Check(doc.Serialize() == decoded->utf8);

    CheckLookUps(doc, decoded->encoding, bufferSize, codec);
    CheckWrite(doc, decoded->encoding, "Horalia", "报时设置", std::to_string(size), codec);
    // Names and value taken from the file's own last line: "section|key|value".
    if (!doc.Lines().empty()) {
        const std::string& last = doc.Lines().back().text;
        const std::size_t a = last.find('|');
        const std::size_t b = a == std::string::npos ? a : last.find('|', a + 1);
        if (b != std::string::npos) {
            CheckWrite(doc, decoded->encoding, std::string_view(last).substr(0, a),
                       std::string_view(last).substr(a + 1, b - a - 1),
                       std::string_view(last).substr(b + 1), codec);
        }
    }
    return 0;
}
