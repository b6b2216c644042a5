#include "config/win32/registry.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/win32/ansi_text.h"
#include "common/win32/handles.h"

namespace horalia::win32 {
namespace {

HKEY RootKey(std::uint32_t root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

UniqueRegKey CreateKey(std::uint32_t root, const std::string& subkey) {
    HKEY key = nullptr;
    if (RegCreateKeyA(RootKey(root), Utf8ToAnsi(subkey).c_str(), &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return UniqueRegKey(key);
}

UniqueRegKey OpenKey(std::uint32_t root, const std::string& subkey) {
    HKEY key = nullptr;
    if (RegOpenKeyA(RootKey(root), Utf8ToAnsi(subkey).c_str(), &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return UniqueRegKey(key);
}

// The bytes before the first NUL; all of them when there is none.
std::string BeforeNul(const std::vector<char>& bytes) {
    const auto it = std::find(bytes.begin(), bytes.end(), '\0');
    return std::string(bytes.begin(), it);
}

}  // namespace

bool SetRegValue(std::uint32_t root, const std::string& subkey, const std::string& name,
                 std::int32_t type, const std::string& data) {
    std::string bytes = Utf8ToAnsi(data);
    bytes.push_back('\0');
    const UniqueRegKey key = CreateKey(root, subkey);
    return key && RegSetValueExA(key.get(), Utf8ToAnsi(name).c_str(), 0, static_cast<DWORD>(type),
                                 reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool GetRegValue(std::uint32_t root, const std::string& subkey, const std::string& name,
                 std::int32_t& type, std::string& text) {
    const UniqueRegKey opened = OpenKey(root, subkey);
    if (!opened) {
        return false;
    }
    HKEY key = opened.get();
    const std::string valueName = Utf8ToAnsi(name);
    DWORD storedType = 0;
    DWORD size = 0;
    const bool present = RegQueryValueExA(key, valueName.c_str(), nullptr, &storedType, nullptr,
                                          &size) == ERROR_SUCCESS;
    std::vector<char> bytes;
    if (present) {
        type = static_cast<std::int32_t>(storedType);
        bytes.resize(size);
        if (size > 0) {
            DWORD fetched = size;
            if (RegQueryValueExA(key, valueName.c_str(), nullptr, &storedType,
                                 reinterpret_cast<BYTE*>(bytes.data()),
                                 &fetched) != ERROR_SUCCESS) {
                bytes.clear();
            } else {
                bytes.resize(std::min<DWORD>(fetched, size));
            }
        }
    }
    switch (type) {
        case REG_SZ:
            text = AnsiToUtf8(BeforeNul(bytes));
            break;
        case REG_EXPAND_SZ: {
            if (bytes.empty()) {
                text.clear();
                break;
            }
            std::string source = BeforeNul(bytes);
            // A longer expansion is asked for again with the size the system names.
            DWORD capacity = static_cast<DWORD>(bytes.size() + 256);
            std::vector<char> expanded(capacity, '\0');
            DWORD needed = ExpandEnvironmentStringsA(source.c_str(), expanded.data(), capacity);
            if (needed > capacity) {
                expanded.assign(needed, '\0');
                needed = ExpandEnvironmentStringsA(source.c_str(), expanded.data(), needed);
            }
            text = needed == 0 ? AnsiToUtf8(source) : AnsiToUtf8(BeforeNul(expanded));
            break;
        }
        case REG_BINARY: {
            static constexpr char kHex[] = "0123456789ABCDEF";
            for (const char c : bytes) {
                const auto b = static_cast<unsigned char>(c);
                if (b >= 16) {
                    text.push_back(kHex[b >> 4]);
                }
                text.push_back(kHex[b & 0xF]);
            }
            break;
        }
        case REG_DWORD:
        case REG_DWORD_BIG_ENDIAN:
            if (bytes.size() >= 4) {
                std::int32_t number = 0;
                std::memcpy(&number, bytes.data(), 4);
                text = std::to_string(number);
            }
            break;
        case REG_MULTI_SZ:
            if (bytes.empty()) {
                text.clear();
            } else {
                text = AnsiToUtf8(std::string_view(bytes.data(), bytes.size() - 1));
            }
            break;
        default:
            break;
    }
    return true;
}

bool DeleteRegValue(std::uint32_t root, const std::string& subkey, const std::string& name) {
    const UniqueRegKey key = OpenKey(root, subkey);
    return key && RegDeleteValueA(key.get(), Utf8ToAnsi(name).c_str()) == ERROR_SUCCESS;
}

}  // namespace horalia::win32
