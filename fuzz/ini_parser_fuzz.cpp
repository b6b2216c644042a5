// The INI engine on arbitrary file bytes: decoding, parsing, look-ups, cutting values, and one
// write read back from the bytes it produces. Aborts when a promise of the engine is broken.
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
    for (const std::string& line : doc.Lines()) {
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

// One write: every line of the old document is still there, in order, and reading the written
// bytes back gives the new value.
void CheckWrite(const IniDocument& before, Encoding encoding, std::string_view section,
                std::string_view key, std::string_view value, TextCodec& codec) {
    IniDocument after = before;
    if (!after.Set(section, key, value)) {
        Check(!CanWrite(section, key, value));
        return;
    }
    const auto& oldLines = before.Lines();
    const auto& newLines = after.Lines();
    if (newLines.size() == oldLines.size()) {  // one value replaced
        std::size_t differing = 0;
        for (std::size_t i = 0; i < oldLines.size(); ++i) {
            differing += newLines[i] != oldLines[i] ? 1 : 0;
        }
        Check(differing <= 1);
    } else {  // a key, or a section and its key, added
        Check(newLines.size() <= oldLines.size() + 2);
        std::size_t matched = 0;
        for (const std::string& line : newLines) {
            if (matched < oldLines.size() && line == oldLines[matched]) {
                ++matched;
            }
        }
        Check(matched == oldLines.size());
    }

    const auto bytes = EncodeFile(after.Serialize(), encoding, codec);
    if (!bytes || bytes->size() > kMaxFileBytes) {
        return;  // the backend refuses such a write
    }
    const auto reread = DecodeFile(*bytes, codec);
    Check(reread.has_value());
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
    Check(IniDocument::Parse(doc.Serialize()).Lines() == doc.Lines());

    CheckLookUps(doc, decoded->encoding, bufferSize, codec);
    CheckWrite(doc, decoded->encoding, "Horalia", "报时设置", std::to_string(size), codec);
    // Names and value taken from the file's own last line: "section|key|value".
    if (!doc.Lines().empty()) {
        const std::string& last = doc.Lines().back();
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
