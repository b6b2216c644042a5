// A stand-in for Update.dll: records what DoUpdate receives. Built three times, with the export
// named "DoUpdate", with mingw's decorated "DoUpdate@4" and, through a .def file, with MSVC's
// "_DoUpdate@4".
#include <windows.h>

#ifdef PROBE_EXPORTS_FROM_DEF_FILE
#define PROBE_EXPORT
#else
#define PROBE_EXPORT __declspec(dllexport)
#endif

#include <string>

namespace {
std::string lastText;
int calls = 0;
}  // namespace

extern "C" {

PROBE_EXPORT void __stdcall DoUpdate(const char* text) {
    lastText = text;
    ++calls;
}

PROBE_EXPORT const char* ProbeLastText() {
    return lastText.c_str();
}

PROBE_EXPORT int ProbeCalls() {
    return calls;
}
}
