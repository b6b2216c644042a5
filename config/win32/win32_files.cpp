#include "config/win32/win32_files.h"

#include <windows.h>

#include <optional>
#include <string_view>

#include "common/win32/ansi_text.h"
#include "common/win32/handles.h"
#include "config/engine_profile_backend.h"

namespace horalia::win32 {
namespace {

constexpr unsigned kGbk = 936;

class Gbk final : public ini::TextCodec {
  public:
    std::optional<std::string> GbkToUtf8(std::string_view gbk) override {
        return CodePageToUtf8(kGbk, gbk);
    }
    std::optional<std::string> Utf8ToGbk(std::string_view utf8) override {
        return Utf8ToCodePage(kGbk, utf8);
    }
};

// CreateFile fails with INVALID_HANDLE_VALUE, not with a null handle.
UniqueKernelHandle Owned(HANDLE file) {
    return UniqueKernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

class Files final : public SmallFiles {
  public:
    FileContent Read(const std::string& path, std::size_t maxBytes) override {
        FileContent content;
        const UniqueKernelHandle file =
            Owned(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            const DWORD error = GetLastError();
            content.status = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                                 ? ReadStatus::kMissing
                                 : ReadStatus::kUnusable;
            return content;
        }
        LARGE_INTEGER size{};
        if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size) ||
            static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
            content.status = ReadStatus::kUnusable;
            return content;
        }
        content.bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        if (!content.bytes.empty() &&
            (!ReadFile(file.get(), content.bytes.data(), static_cast<DWORD>(content.bytes.size()),
                       &read, nullptr) ||
             read != content.bytes.size())) {
            content.bytes.clear();
            content.status = ReadStatus::kUnusable;
            return content;
        }
        content.status = ReadStatus::kOk;
        return content;
    }

    bool Replace(const std::string& path, const std::string& bytes) override {
        const std::wstring target = Utf8ToWide(path);
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
            return false;
        }
        const std::wstring temporary =
            target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
        bool written = false;
        {
            const UniqueKernelHandle file =
                Owned(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD done = 0;
            written =
                file &&
                (bytes.empty() || (WriteFile(file.get(), bytes.data(),
                                             static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                                   done == bytes.size())) &&
                FlushFileBuffers(file.get());
        }
        if (written && MoveFileExW(temporary.c_str(), target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        DeleteFileW(temporary.c_str());
        return false;
    }
};

}  // namespace

SmallFiles& WindowsFiles() {
    static Files files;
    return files;
}

ini::TextCodec& CodePage936() {
    static Gbk codec;
    return codec;
}

}  // namespace horalia::win32

namespace horalia {

SmallFiles& SystemFiles() {
    return win32::WindowsFiles();
}

ProfileBackend& SystemProfileBackend() {
    static EngineProfileBackend backend(win32::WindowsFiles(), win32::CodePage936());
    return backend;
}

}  // namespace horalia
