// The update and feedback hooks on Windows: DoUpdate in Update.dll and ShowComment in
// SendComment.dll, each looked up by file name the first time it is called.
#pragma once

#include <windows.h>

#include <string>

#include "ui/extras/main_form_windows.h"

namespace horalia::win32 {

// One exported procedure of the form void __stdcall Procedure(const char* ansiText).
class LazyProcedure {
  public:
    LazyProcedure(std::string libraryFile, std::string exportName);

    // Converts the text to the ANSI code page and calls the procedure with it. A library or
    // export that cannot be found makes the call do nothing; the next call looks again.
    void Call(const std::string& utf8Text);

  private:
    using Procedure = void(__stdcall*)(const char*);

    Procedure Find();

    std::string libraryFile_;
    std::string exportName_;
    HMODULE library_ = nullptr;
    Procedure procedure_ = nullptr;
};

class LibraryHooks final : public ExternalHooks {
  public:
    LibraryHooks();
    // Other files and exports, for tests.
    LibraryHooks(LazyProcedure update, LazyProcedure comment);

    void DoUpdate(const std::string& url) override;
    void ShowComment(const std::string& text) override;

  private:
    LazyProcedure update_;
    LazyProcedure comment_;
};

}  // namespace horalia::win32
