// 读写配置: the INI accessor. One file, four operations, and the whole-section reading and
// writing that the settings table loads and saves with; every call goes to the file.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace horalia {

class ProfileBackend;

class 读写配置 {
  public:
    // On the platform's profile functions.
    读写配置();
    // On the given backend, which must outlive the instance.
    explicit 读写配置(ProfileBackend& backend);

    std::string ErrorText;

    void SpecifyIni(const std::string& path);
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    std::string ReadString(const std::string& section, const std::string& key, std::int32_t size);
    std::int32_t ReadInt(const std::string& section, const std::string& key);

    // Every key of the section with its value, from one reading of the file.
    std::vector<std::pair<std::string, std::string>> ReadSection(const std::string& section);
    // The keys, with one writing of the file where the platform allows it; false, and nothing
    // written, when any key or value would not read back as written.
    bool WriteStrings(const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& values);
    // Whether the file was changed by someone else (a person with an editor) since this accessor
    // last read its section or wrote it.
    bool FileChanged();

  private:
    bool FileNotSpecified();

    void RememberStamp();

    std::string IniPath;
    ProfileBackend* backend_;
    std::string stamp_;
};

// The program's one accessor, created on first use.
读写配置& Config();

}  // namespace horalia
