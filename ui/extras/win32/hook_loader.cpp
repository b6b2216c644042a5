#include "ui/extras/win32/hook_loader.h"

#include <utility>

#include "common/win32/ansi_text.h"

namespace horalia::win32 {
namespace {

// The names a __stdcall export of one pointer argument goes by: as written in a .def file, as
// MSVC decorates it, and as mingw decorates it.
std::string ExportNameCandidate(const std::string& name, int attempt) {
    switch (attempt) {
        case 0:
            return name;
        case 1:
            return "_" + name + "@4";
        default:
            return name + "@4";
    }
}
constexpr int kExportNameCandidates = 3;

}  // namespace

LazyProcedure::LazyProcedure(std::string libraryFile, std::string exportName)
    : libraryFile_(std::move(libraryFile)), exportName_(std::move(exportName)) {}

void LazyProcedure::Call(const std::string& utf8Text) {
    if (Procedure procedure = Find()) {
        const std::string ansiText = Utf8ToAnsi(utf8Text);
        procedure(ansiText.c_str());
    }
}

LazyProcedure::Procedure LazyProcedure::Find() {
    if (procedure_ != nullptr) {
        return procedure_;
    }
    if (library_ == nullptr) {
        // By file name alone, so the system's search order finds it: the executable's folder
        // first. A library stays loaded to the end of the process: it may have left threads or
        // windows of its own behind.
        library_ = LoadLibraryA(libraryFile_.c_str());
        if (library_ == nullptr) {
            return nullptr;
        }
    }
    for (int attempt = 0; attempt < kExportNameCandidates && procedure_ == nullptr; ++attempt) {
        const FARPROC found =
            GetProcAddress(library_, ExportNameCandidate(exportName_, attempt).c_str());
        // Through the generic function pointer type, which GCC accepts for any function.
        procedure_ = reinterpret_cast<Procedure>(reinterpret_cast<void (*)()>(found));
    }
    return procedure_;
}

LibraryHooks::LibraryHooks()
    : LibraryHooks(LazyProcedure("Update.dll", "DoUpdate"),
                   LazyProcedure("SendComment.dll", "ShowComment")) {}

LibraryHooks::LibraryHooks(LazyProcedure update, LazyProcedure comment)
    : update_(std::move(update)), comment_(std::move(comment)) {}

void LibraryHooks::DoUpdate(const std::string& url) {
    update_.Call(url);
}

void LibraryHooks::ShowComment(const std::string& text) {
    comment_.Call(text);
}

}  // namespace horalia::win32
