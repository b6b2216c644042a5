// Helpers of the configuration tests: the platform's GBK codec, a throw-away folder, whole-file
// reads and writes.
#pragma once

#include <filesystem>
#include <string>

#include "config/ini_document.h"

namespace horalia::testing {

// GBK (code page 936) <-> UTF-8 as the platform converts it: iconv on Linux,
// MultiByteToWideChar on Windows.
ini::TextCodec& PlatformGbkCodec();

// A fresh empty folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // UTF-8 path of name inside the folder.
    std::string File(const std::string& name) const;
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

bool FileExists(const std::string& utf8Path);
// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::string& utf8Path);
void WriteBytes(const std::string& utf8Path, const std::string& bytes);

}  // namespace horalia::testing
