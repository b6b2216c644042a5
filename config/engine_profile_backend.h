// The profile operations over the portable INI engine, on both systems: files in GBK (or the
// UTF-8 a person saved them in), whatever the system's language, each write changing only the
// lines of its keys. A new file gets CR LF lines, as kernel32 writes them; an existing one keeps
// its own.
#pragma once

#include "config/ini_document.h"
#include "config/profile_backend.h"
#include "config/small_files.h"

namespace horalia {

class EngineProfileBackend final : public ProfileBackend {
  public:
    // Both must outlive the backend.
    EngineProfileBackend(SmallFiles& files, ini::TextCodec& codec) : files_(files), codec_(codec) {}

    std::int32_t GetInt(const std::string& section, const std::string& key, std::int32_t fallback,
                        const std::string& path) override;
    std::string GetString(const std::string& section, const std::string& key, std::int32_t size,
                          const std::string& path) override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) override;
    Entries GetSection(const std::string& section, const std::string& path) override;
    // All or nothing: one replacement of the file with every key set.
    bool WriteStrings(const std::string& section, const Entries& values,
                      const std::string& path) override;

  private:
    struct LoadedFile {
        ReadStatus status = ReadStatus::kMissing;
        ini::IniDocument doc;
        ini::Encoding encoding = ini::Encoding::kGbk;
    };
    LoadedFile Load(const std::string& path);

    SmallFiles& files_;
    ini::TextCodec& codec_;
};

}  // namespace horalia
