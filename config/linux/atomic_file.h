// Whole-file reads and crash-safe replacement of small files.
#pragma once

#include <optional>
#include <string>

#include "config/small_files.h"

namespace horalia::linux_backend {

// The file's bytes; kUnusable for anything that is not a regular readable file of at most
// maxBytes.
FileContent ReadSmallFile(const std::string& path, std::size_t maxBytes);

// Writes bytes to a temporary file in the same folder, flushes it to disk and renames it over
// path (the target, when path is a symbolic link). A file this user may not write, or without
// any write permission bit at all (read-only even for root), is left alone (false).
bool ReplaceFile(const std::string& path, const std::string& bytes);

// The two above as the INI engine's file access.
SmallFiles& LinuxFiles();

}  // namespace horalia::linux_backend
