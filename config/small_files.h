// Whole-file reads and crash-safe replacement of small files: the platform's file access under
// the INI engine.
#pragma once

#include <cstddef>
#include <string>

namespace horalia {

enum class ReadStatus { kOk, kMissing, kUnusable };

struct FileContent {
    ReadStatus status = ReadStatus::kMissing;
    std::string bytes;
};

class SmallFiles {
  public:
    virtual ~SmallFiles() = default;
    // The file's bytes; kUnusable for anything that is not a regular readable file of at most
    // maxBytes.
    virtual FileContent Read(const std::string& path, std::size_t maxBytes) = 0;
    // Writes the bytes to a temporary file in the same folder, flushes it to disk and puts it in
    // the file's place. A file this user may not write, or marked read-only, is left alone.
    virtual bool Replace(const std::string& path, const std::string& bytes) = 0;
};

// The platform's files (defined in config/win32 or config/linux).
SmallFiles& SystemFiles();

}  // namespace horalia
