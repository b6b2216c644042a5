#include "config/engine_profile_backend.h"

namespace horalia {

EngineProfileBackend::LoadedFile EngineProfileBackend::Load(const std::string& path) {
    LoadedFile file;
    const FileContent content = files_.Read(path, ini::kMaxFileBytes);
    file.status = content.status;
    if (content.status != ReadStatus::kOk) {
        return file;
    }
    const auto decoded = ini::DecodeFile(content.bytes, codec_);
    if (!decoded) {
        file.status = ReadStatus::kUnusable;
        return file;
    }
    file.doc = ini::IniDocument::Parse(decoded->utf8);
    file.encoding = decoded->encoding;
    return file;
}

std::int32_t EngineProfileBackend::GetInt(const std::string& section, const std::string& key,
                                          std::int32_t fallback, const std::string& path) {
    const LoadedFile file = Load(path);
    if (file.status != ReadStatus::kOk) {
        return fallback;
    }
    // An empty value counts as absent, as with GetPrivateProfileInt.
    const auto value = file.doc.Get(section, key);
    return (value && !value->empty()) ? ini::LeadingInteger(*value) : fallback;
}

std::string EngineProfileBackend::GetString(const std::string& section, const std::string& key,
                                            std::int32_t size, const std::string& path) {
    const LoadedFile file = Load(path);
    if (file.status != ReadStatus::kOk) {
        return {};
    }
    const auto value = file.doc.Get(section, key);
    return value ? ini::CutToBuffer(*value, file.encoding, size, codec_) : std::string();
}

bool EngineProfileBackend::WriteString(const std::string& section, const std::string& key,
                                       const std::string& value, const std::string& path) {
    return WriteStrings(section, {{key, value}}, path);
}

ProfileBackend::Entries EngineProfileBackend::GetSection(const std::string& section,
                                                         const std::string& path) {
    const LoadedFile file = Load(path);
    return file.status == ReadStatus::kOk ? file.doc.Entries(section) : Entries();
}

bool EngineProfileBackend::WriteStrings(const std::string& section, const Entries& values,
                                        const std::string& path) {
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
    const auto bytes = ini::EncodeFile(file.doc.Serialize(), file.encoding, codec_);
    return bytes && bytes->size() <= ini::kMaxFileBytes && files_.Replace(path, *bytes);
}

}  // namespace horalia
