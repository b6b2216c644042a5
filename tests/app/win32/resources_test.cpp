// What Horalia.exe carries: the application icon, one manifest and the version; and the
// manifest of horalia-say.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::wstring ExecutablePath(const std::wstring& name) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

class HoraliaResources : public testing::Test {
  protected:
    void SetUp() override {
        module_ =
            LoadLibraryExW(ExecutablePath(Executable()).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << "the program is not beside the test";
    }
    virtual std::wstring Executable() const { return L"Horalia.exe"; }

    std::vector<ULONG_PTR> ManifestNames() const;
    void TearDown() override { FreeLibrary(module_); }

    std::string Resource(LPCWSTR type, LPCWSTR name) const {
        HRSRC found = FindResourceW(module_, name, type);
        if (found == nullptr) {
            return {};
        }
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(bytes, SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(names)->push_back(reinterpret_cast<ULONG_PTR>(name));
    return TRUE;
}

std::vector<ULONG_PTR> HoraliaResources::ManifestNames() const {
    std::vector<ULONG_PTR> names;
    EnumResourceNamesW(module_, MAKEINTRESOURCEW(24), &CollectName,  // RT_MANIFEST
                       reinterpret_cast<LONG_PTR>(&names));
    return names;
}

TEST_F(HoraliaResources, OneManifestAskingForAdministratorCommonControlsSixAndPerMonitorDpi) {
    ASSERT_EQ(ManifestNames(), std::vector<ULONG_PTR>{1});  // CREATEPROCESS_MANIFEST_RESOURCE_ID
    const std::string manifest = Resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
}

TEST_F(HoraliaResources, IconOneHasItsImagesFromSixteenTo256Pixels) {
#pragma pack(push, 2)
    struct GroupIconEntry {
        BYTE width, height, colours, reserved;
        WORD planes, bitCount;
        DWORD bytes;
        WORD id;
    };
#pragma pack(pop)
    const std::string group = Resource(MAKEINTRESOURCEW(14), MAKEINTRESOURCEW(1));  // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6u);
    const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    ASSERT_EQ(group.size(), 6 + count * sizeof(GroupIconEntry));
    std::vector<std::pair<int, int>> images;  // size, bits per pixel
    for (WORD i = 0; i < count; ++i) {
        const auto* entry =
            reinterpret_cast<const GroupIconEntry*>(group.data() + 6 + i * sizeof(GroupIconEntry));
        EXPECT_EQ(entry->width, entry->height);
        images.emplace_back(entry->width == 0 ? 256 : entry->width, entry->bitCount);
    }
    const std::vector<std::pair<int, int>> expected = {{48, 8},  {256, 32}, {128, 32}, {64, 32},
                                                       {48, 32}, {32, 32},  {24, 32},  {16, 32}};
    EXPECT_EQ(images, expected);
}

class SayResources : public HoraliaResources {
    std::wstring Executable() const override { return L"horalia-say.exe"; }
};

TEST_F(SayResources, OneManifestAtTheCallersRightsForTheSupportedWindows) {
    ASSERT_EQ(ManifestNames(), std::vector<ULONG_PTR>{1});
    const std::string manifest = Resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    for (const char* windows : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a",     // 7
                                "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {  // 10 and 11
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"{") + windows), std::string::npos);
    }
}

TEST(HoraliaVersion, IsThreeZeroZeroZeroOfHoralia) {
    const std::wstring path = ExecutablePath(L"Horalia.exe");
    DWORD handle = 0;
    std::vector<char> info(GetFileVersionInfoSizeW(path.c_str(), &handle));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 3));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 3));
    wchar_t* product = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\080404b0\\ProductName",
                               reinterpret_cast<void**>(&product), &length));
    EXPECT_EQ(std::wstring(product), L"Horalia");
}

}  // namespace
