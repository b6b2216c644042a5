// A stand-in for xdg-open, so that no test opens a browser or a mail program: a shell script in a
// temporary folder put first on PATH. Each call is numbered from 1 and leaves its arguments (one
// a line) behind; call n answers with the exit status the test scripted for it.
#pragma once

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace horalia::testing {

class FakeDesktopTools {
  public:
    FakeDesktopTools() {
        char pattern[] = "/tmp/horalia-tools-XXXXXX";
        dir_ = mkdtemp(pattern);
        WriteTool("xdg-open");
        const char* path = getenv("PATH");
        oldPath_ = path ? path : "";
        setenv("PATH", dir_.c_str(), 1);
    }

    ~FakeDesktopTools() {
        setenv("PATH", oldPath_.c_str(), 1);
        std::filesystem::remove_all(dir_);
    }

    void Script(const std::string& tool, int call, int status) {
        Write(Name(tool, call, "status"), std::to_string(status));
    }

    int Calls(const std::string& tool) const {
        const std::string count = Read(tool + ".count");
        return count.empty() ? 0 : std::stoi(count);
    }

    std::vector<std::string> Arguments(const std::string& tool, int call) const {
        std::vector<std::string> lines;
        std::istringstream text(Read(Name(tool, call, "args")));
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        return lines;
    }

    // For calls made by a background thread.
    bool WaitForCalls(const std::string& tool, int calls) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (Calls(tool) < calls) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

  private:
    static std::string Name(const std::string& tool, int call, const char* what) {
        return tool + "." + std::to_string(call) + "." + what;
    }

    // Unscripted calls answer with status 1. The count is renamed into place last, so a reader
    // that sees it also sees the call's files.
    void WriteTool(const std::string& tool) {
        const std::string d = dir_.string() + "/" + tool;
        const std::string script =
            "#!/bin/sh\n"
            "PATH=/usr/bin:/bin\n"
            "n=$(( $(cat '" +
            d +
            ".count' 2>/dev/null || echo 0) + 1 ))\n"
            "printf '%s\\n' \"$@\" > '" +
            d +
            ".'$n'.args'\n"
            "echo $n > '" +
            d + ".count.new' && mv '" + d + ".count.new' '" + d +
            ".count'\n"
            "exit $(cat '" +
            d + ".'$n'.status' 2>/dev/null || echo 1)\n";
        Write(tool, script);
        std::filesystem::permissions(dir_ / tool, std::filesystem::perms::owner_all);
    }

    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }

    std::string Read(const std::string& name) const {
        std::ifstream file(dir_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    std::filesystem::path dir_;
    std::string oldPath_;
};

}  // namespace horalia::testing
