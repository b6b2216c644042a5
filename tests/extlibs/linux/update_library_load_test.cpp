// libUpdate.so as the program calls it, in a process of its own that links no network library:
// an empty address loads nothing more, a web address loads the check with libcurl.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string LoadedFiles() {
    std::ifstream maps("/proc/self/maps");
    std::stringstream text;
    text << maps.rdbuf();
    return text.str();
}

TEST(UpdateLibrary, AnEmptyAddressLoadsNeitherTheCheckNorANetworkLibrary) {
    const std::string folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    void* library = dlopen((folder + "/libUpdate.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto doUpdate = reinterpret_cast<void (*)(const char*)>(dlsym(library, "DoUpdate"));
    ASSERT_NE(doUpdate, nullptr);

    doUpdate("");
    doUpdate("not an address");
    const std::string before = LoadedFiles();
    for (const char* name : {"libUpdateCheck.so", "libcurl", "libssl", "libgnutls", "libnghttp2"})
        EXPECT_EQ(before.find(name), std::string::npos) << name << " is loaded";

    // Port 1 on the loopback refuses at once; what matters is the library now loaded.
    doUpdate("http://127.0.0.1:1/update.txt");
    const std::string after = LoadedFiles();
    EXPECT_NE(after.find("libUpdateCheck.so"), std::string::npos);
    EXPECT_NE(after.find("libcurl"), std::string::npos);
}

}  // namespace
