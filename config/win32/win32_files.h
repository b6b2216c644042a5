// The INI engine's file access and GBK conversion on Windows: code page 936 is there on every
// Windows, whatever the system's own ANSI code page.
#pragma once

#include "config/ini_document.h"
#include "config/small_files.h"

namespace horalia::win32 {

SmallFiles& WindowsFiles();
ini::TextCodec& CodePage936();

}  // namespace horalia::win32
