// 注册表操作: write, read and delete one registry value, texts in the ANSI code page.
#pragma once

#include <cstdint>
#include <string>

namespace horalia::win32 {

inline constexpr std::uint32_t kHkeyCurrentUser = 0x80000001u;

// True when the value was written; data always goes as text bytes with a terminator.
bool SetRegValue(std::uint32_t root, const std::string& subkey, const std::string& name,
                 std::int32_t type, const std::string& data);
// True when the key opened (also when the value is absent); type receives the value's type and
// text its rendering.
bool GetRegValue(std::uint32_t root, const std::string& subkey, const std::string& name,
                 std::int32_t& type, std::string& text);
// True when the value was deleted.
bool DeleteRegValue(std::uint32_t root, const std::string& subkey, const std::string& name);

}  // namespace horalia::win32
