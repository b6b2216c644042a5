// The update text our web site publishes, and how it is read.
//
// Format (UTF-8 or plain ASCII, at most kMaxUpdateTextSize bytes, lines end in LF or CR LF):
//
//   3.1.0.0                                     <- line 1: the newest version, "a.b.c.d"
//   http://www.example.com/softs/tolvex/        <- line 2: its download page, http or https
//   anything else                               <- further lines: notes for people, ignored
//
// A UTF-8 byte-order mark before line 1 and spaces or tabs around either line are tolerated.
// Each version part is a decimal number from 0 to 65535, as in a Windows version resource.
// Anything else makes the whole text malformed, and a malformed text is ignored.
#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace horalia::update {

inline constexpr std::size_t kMaxUpdateTextSize = 4096;

struct Version {
    std::array<std::uint16_t, 4> parts{};
    auto operator<=>(const Version&) const = default;
};

struct UpdateNotice {
    std::string version;       // as written, e.g. "3.1.0.0"
    std::string downloadPage;  // an http or https URL
};

std::optional<Version> ParseVersion(std::string_view text);

// True for an absolute http:// or https:// URL with a host, made of printable ASCII only, so it
// can be handed to a browser or a child process without quoting.
bool IsWebUrl(std::string_view text);

std::optional<UpdateNotice> ParseUpdateText(std::string_view text);

// True when `version` is newer than the program that ships this library.
bool IsNewerThanThisProgram(std::string_view version);

// The question put to the user, UTF-8.
std::string UpdatePromptText(std::string_view version);
inline constexpr char kUpdatePromptTitle[] = "Horalia";

}  // namespace horalia::update
