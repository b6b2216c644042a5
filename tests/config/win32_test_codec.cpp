#include <windows.h>

#include "config_test_support.h"

namespace horalia::testing {
namespace {

constexpr UINT kGbk = 936;

std::optional<std::wstring> ToWide(UINT codePage, std::string_view text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(text.size());
    const int length =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length == 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
    return wide;
}

std::optional<std::string> FromWide(UINT codePage, const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    BOOL* lossyFlag = codePage == CP_UTF8 ? nullptr : &lossy;
    const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : 0;
    const int length =
        WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, lossyFlag);
    if (length == 0 || lossy) {
        return std::nullopt;
    }
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), size, narrow.data(), length, nullptr,
                        nullptr);
    return narrow;
}

class CodePage936 : public ini::TextCodec {
  public:
    std::optional<std::string> GbkToUtf8(std::string_view gbk) override {
        const auto wide = ToWide(kGbk, gbk);
        return wide ? FromWide(CP_UTF8, *wide) : std::nullopt;
    }
    std::optional<std::string> Utf8ToGbk(std::string_view utf8) override {
        const auto wide = ToWide(CP_UTF8, utf8);
        return wide ? FromWide(kGbk, *wide) : std::nullopt;
    }
};

}  // namespace

ini::TextCodec& PlatformGbkCodec() {
    static CodePage936 codec;
    return codec;
}

}  // namespace horalia::testing
