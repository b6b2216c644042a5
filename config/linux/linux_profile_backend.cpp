// The profile operations over the portable INI engine; files in GBK (or the UTF-8 a person saved
// them in). A new file gets CR LF lines, as kernel32 writes them; an existing one keeps its own.
#include "config/ini_document.h"
#include "config/linux/atomic_file.h"
#include "config/linux/iconv_codec.h"
#include "config/profile_backend.h"

namespace horalia {
namespace {

using namespace linux_backend;

struct LoadedFile {
    ReadStatus status = ReadStatus::kMissing;
    ini::IniDocument doc;
    ini::Encoding encoding = ini::Encoding::kGbk;
};

LoadedFile Load(const std::string& path) {
    LoadedFile file;
    const FileContent content = ReadSmallFile(path, ini::kMaxFileBytes);
    file.status = content.status;
    if (content.status != ReadStatus::kOk) {
        return file;
    }
    const auto decoded = ini::DecodeFile(content.bytes, IconvCodec());
    if (!decoded) {
        file.status = ReadStatus::kUnusable;
        return file;
    }
    file.doc = ini::IniDocument::Parse(decoded->utf8);
    file.encoding = decoded->encoding;
    return file;
}

class EngineProfileBackend : public ProfileBackend {
  public:
    std::int32_t GetInt(const std::string& section, const std::string& key, std::int32_t fallback,
                        const std::string& path) override {
        const LoadedFile file = Load(path);
        if (file.status != ReadStatus::kOk) {
            return fallback;
        }
        // An empty value counts as absent, as with GetPrivateProfileInt.
        const auto value = file.doc.Get(section, key);
        return (value && !value->empty()) ? ini::LeadingInteger(*value) : fallback;
    }

    std::string GetString(const std::string& section, const std::string& key, std::int32_t size,
                          const std::string& path) override {
        const LoadedFile file = Load(path);
        if (file.status != ReadStatus::kOk) {
            return {};
        }
        const auto value = file.doc.Get(section, key);
        return value ? ini::CutToBuffer(*value, file.encoding, size, IconvCodec()) : std::string();
    }

    bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) override {
        return WriteStrings(section, {{key, value}}, path);
    }

    Entries GetSection(const std::string& section, const std::string& path) override {
        const LoadedFile file = Load(path);
        return file.status == ReadStatus::kOk ? file.doc.Entries(section) : Entries();
    }

    // All or nothing: one replacement of the file with every key set.
    bool WriteStrings(const std::string& section, const Entries& values,
                      const std::string& path) override {
        LoadedFile file = Load(path);
        if (file.status == ReadStatus::kUnusable) {
            return false;  // never replace what cannot be read back whole
        }
        for (const auto& [key, value] : values) {
            if (!file.doc.Set(section, key, value)) {
                return false;
            }
        }
        // A file grown beyond the limit would read as empty from then on.
        const auto bytes = ini::EncodeFile(file.doc.Serialize(), file.encoding, IconvCodec());
        return bytes && bytes->size() <= ini::kMaxFileBytes && ReplaceFile(path, *bytes);
    }
};

}  // namespace

ProfileBackend& SystemProfileBackend() {
    static EngineProfileBackend backend;
    return backend;
}

}  // namespace horalia
