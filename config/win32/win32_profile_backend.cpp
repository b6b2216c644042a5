// The profile functions of kernel32, with every text in the ANSI code page.
#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "common/win32/ansi_text.h"
#include "config/profile_backend.h"

namespace horalia {
namespace {

using win32::AnsiToUtf8;
using win32::Utf8ToAnsi;

// A value cut to fit the buffer may end in half a double-byte character, and the count returned
// can then name a byte that was never filled: keep the whole characters before any NUL.
std::string_view WholeCharacters(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::size_t end = 0;
    while (end < bytes.size()) {
        const std::size_t width = IsDBCSLeadByte(static_cast<BYTE>(bytes[end])) ? 2 : 1;
        if (end + width > bytes.size()) {
            break;
        }
        end += width;
    }
    return bytes.substr(0, end);
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    return first == std::string_view::npos ? std::string_view()
                                           : text.substr(first, last - first + 1);
}

// GetPrivateProfileString hands out 'text' and "text" without their quotes; the section does not.
std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// A text the ANSI code page cannot hold would reach the profile functions with '?' in place of
// some characters, naming another key or file or storing another value. Calls with such a text
// read as absent and write nothing.
bool HasAnsiForm(const std::string& utf8) {
    return AnsiToUtf8(Utf8ToAnsi(utf8)) == utf8;
}

bool AllHaveAnsiForm(const std::string& section, const std::string& key, const std::string& path) {
    return HasAnsiForm(section) && HasAnsiForm(key) && HasAnsiForm(path);
}

class Kernel32ProfileBackend : public ProfileBackend {
  public:
    std::int32_t GetInt(const std::string& section, const std::string& key, std::int32_t fallback,
                        const std::string& path) override {
        if (!AllHaveAnsiForm(section, key, path)) {
            return fallback;
        }
        return static_cast<std::int32_t>(
            GetPrivateProfileIntA(Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(),
                                  static_cast<INT>(fallback), Utf8ToAnsi(path).c_str()));
    }

    std::string GetString(const std::string& section, const std::string& key, std::int32_t size,
                          const std::string& path) override {
        if (size <= 0 || !AllHaveAnsiForm(section, key, path)) {
            return {};
        }
        std::vector<char> buffer(static_cast<std::size_t>(size), '\0');
        const DWORD n = GetPrivateProfileStringA(
            Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(), "", buffer.data(),
            static_cast<DWORD>(size), Utf8ToAnsi(path).c_str());
        const std::size_t count = std::min<std::size_t>(n, buffer.size() - 1);
        return AnsiToUtf8(WholeCharacters(std::string_view(buffer.data(), count)));
    }

    bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) override {
        if (!AllHaveAnsiForm(section, key, path) || !HasAnsiForm(value)) {
            return false;
        }
        return WritePrivateProfileStringA(Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(),
                                          Utf8ToAnsi(value).c_str(), Utf8ToAnsi(path).c_str()) != 0;
    }

    // The section's "key=value" lines, NUL-separated, as GetPrivateProfileSection hands them out.
    Entries GetSection(const std::string& section, const std::string& path) override {
        Entries entries;
        if (!HasAnsiForm(section) || !HasAnsiForm(path)) {
            return entries;
        }
        std::vector<char> buffer(32 * 1024, '\0');
        const DWORD n =
            GetPrivateProfileSectionA(Utf8ToAnsi(section).c_str(), buffer.data(),
                                      static_cast<DWORD>(buffer.size()), Utf8ToAnsi(path).c_str());
        std::string_view rest(buffer.data(), std::min<std::size_t>(n, buffer.size()));
        while (!rest.empty()) {
            const std::string_view line = rest.substr(0, rest.find('\0'));
            rest.remove_prefix(std::min(rest.size(), line.size() + 1));
            const std::size_t eq = line.find('=');
            if (eq == std::string_view::npos) {
                continue;
            }
            entries.emplace_back(AnsiToUtf8(Trimmed(line.substr(0, eq))),
                                 AnsiToUtf8(Unquoted(Trimmed(line.substr(eq + 1)))));
        }
        return entries;
    }

    // Key by key: the profile functions write the file once per key.
    bool WriteStrings(const std::string& section, const Entries& values,
                      const std::string& path) override {
        bool written = true;
        for (const auto& [key, value] : values) {
            written = WriteString(section, key, value, path) && written;
        }
        return written;
    }
};

}  // namespace

ProfileBackend& SystemProfileBackend() {
    static Kernel32ProfileBackend backend;
    return backend;
}

}  // namespace horalia
