// 读写配置: the INI accessor. One file, four operations; every call goes to the file.
#pragma once

#include <cstdint>
#include <string>

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

  private:
    bool FileNotSpecified();

    std::string IniPath;
    ProfileBackend* backend_;
};

// The program's one accessor, created on first use.
读写配置& Config();

}  // namespace horalia
