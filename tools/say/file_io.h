// Whole-file reading and writing with UTF-8 names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace horalia::say {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

enum class WriteOutcome { kWritten, kCannotOpen, kFailed };

// Creates or replaces the file; a file that was opened but could not be written is removed.
WriteOutcome WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace horalia::say
