// The three private-profile operations the INI accessor stands on. Texts are UTF-8; each backend
// converts them to the file's code page.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace horalia {

class ProfileBackend {
  public:
    virtual ~ProfileBackend() = default;
    // The integer at the start of the key's value; fallback when the file, section or key is
    // absent; 0 when the value does not start with a number.
    virtual std::int32_t GetInt(const std::string& section, const std::string& key,
                                std::int32_t fallback, const std::string& path) = 0;
    // At most size - 1 bytes (in the file's code page) of the value; empty when absent.
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  std::int32_t size, const std::string& path) = 0;
    // Creates file, section and key as needed and replaces an existing value.
    virtual bool WriteString(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& path) = 0;

    using Entries = std::vector<std::pair<std::string, std::string>>;
    // Every key of the section with its value as GetString reads it (whole), in the file's order,
    // from one reading of the file; empty when the file or the section is absent.
    virtual Entries GetSection(const std::string& section, const std::string& path) = 0;
    // Writes several keys as WriteString does, with one writing of the file where the platform
    // allows it.
    virtual bool WriteStrings(const std::string& section, const Entries& values,
                              const std::string& path) = 0;
    // Changes whenever the file may have been written (its time and size); empty when absent.
    virtual std::string Stamp(const std::string& path);
};

// The platform's backend (defined in config/win32 or config/linux).
ProfileBackend& SystemProfileBackend();

}  // namespace horalia
