// The profile functions of kernel32, with every text in the ANSI code page.
#include <windows.h>

#include <string>
#include <vector>

#include "common/win32/ansi_text.h"
#include "config/profile_backend.h"

namespace horalia {
namespace {

using win32::AnsiToUtf8;
using win32::Utf8ToAnsi;

class Kernel32ProfileBackend : public ProfileBackend {
  public:
    std::int32_t GetInt(const std::string& section, const std::string& key, std::int32_t fallback,
                        const std::string& path) override {
        return static_cast<std::int32_t>(
            GetPrivateProfileIntA(Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(),
                                  static_cast<INT>(fallback), Utf8ToAnsi(path).c_str()));
    }

    std::string GetString(const std::string& section, const std::string& key, std::int32_t size,
                          const std::string& path) override {
        if (size <= 0) {
            return {};
        }
        std::vector<char> buffer(static_cast<std::size_t>(size), '\0');
        const DWORD n = GetPrivateProfileStringA(
            Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(), "", buffer.data(),
            static_cast<DWORD>(size), Utf8ToAnsi(path).c_str());
        const std::size_t count = std::min<std::size_t>(n, buffer.size() - 1);
        return AnsiToUtf8(std::string_view(buffer.data(), count));
    }

    bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) override {
        return WritePrivateProfileStringA(Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(),
                                          Utf8ToAnsi(value).c_str(), Utf8ToAnsi(path).c_str()) != 0;
    }
};

}  // namespace

ProfileBackend& SystemProfileBackend() {
    static Kernel32ProfileBackend backend;
    return backend;
}

}  // namespace horalia
