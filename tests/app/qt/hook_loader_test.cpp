#include "ui/extras/linux/hook_loader.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace horalia {
namespace {

// Built by this folder's CMakeLists: with/ holds both libraries with their hooks, without/ a
// libUpdate.so that lacks DoUpdate, empty/ nothing.
const std::string kFixtures = HORALIA_HOOK_FIXTURES;

// What the library at path recorded; it is the same loaded copy the loader calls.
std::string RecordedCalls(const std::string& path) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (library == nullptr) {
        return "<not loaded>";
    }
    using Calls = const char* (*)();
    const auto calls = reinterpret_cast<Calls>(dlsym(library, "HookCalls"));
    std::string recorded = calls != nullptr ? calls() : "<no record>";
    dlclose(library);
    return recorded;
}

TEST(HookLibraryFolders, InstalledProgramAlsoLooksInItsLibraryFolder) {
    using Folders = std::vector<std::string>;
    EXPECT_EQ(HookLibraryFolders("/opt/horalia/bin"),
              (Folders{"/opt/horalia/bin", "/opt/horalia/lib/horalia"}));
    EXPECT_EQ(HookLibraryFolders("/home/ann/horalia"), (Folders{"/home/ann/horalia"}));
    EXPECT_EQ(HookLibraryFolders("/home/ann/cabin"), (Folders{"/home/ann/cabin"}));
}

TEST(HookLoader, LoadsOnFirstCallAndPassesTheTextEveryTime) {
    const std::string update = kFixtures + "/with/libUpdate.so";
    const std::string comment = kFixtures + "/with/libSendComment.so";
    HookLoader hooks({kFixtures + "/empty", kFixtures + "/with"});
    EXPECT_EQ(RecordedCalls(update), "<not loaded>");  // nothing is loaded at start

    hooks.DoUpdate("http://www.example.com/softs/tolvex/update.txt");
    hooks.ShowComment("Horalia 3.0.0.0");
    hooks.ShowComment("Horalia 3.0.0.0");

    EXPECT_EQ(RecordedCalls(update), "http://www.example.com/softs/tolvex/update.txt;");
    EXPECT_EQ(RecordedCalls(comment), "Horalia 3.0.0.0;Horalia 3.0.0.0;");
}

TEST(HookLoader, MissingLibraryOrFunctionDoesNothing) {
    HookLoader missing({kFixtures + "/empty", kFixtures + "/no-such-folder"});
    missing.DoUpdate("x");
    missing.ShowComment("y");

    HookLoader withoutFunction({kFixtures + "/without"});
    withoutFunction.DoUpdate("x");
    withoutFunction.DoUpdate("x");
    EXPECT_EQ(RecordedCalls(kFixtures + "/without/libUpdate.so"), "");
}

}  // namespace
}  // namespace horalia
