// A stand-in for libUpdate.so / libSendComment.so: its hook (named by HOOK_FUNCTION, absent when
// that is not defined) records every argument, and HookCalls gives the record to the test.
#include <string>

namespace {

std::string& Calls() {
    static std::string calls;
    return calls;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) const char* HookCalls() {
    return Calls().c_str();
}

#ifdef HOOK_FUNCTION
__attribute__((visibility("default"))) void HOOK_FUNCTION(const char* text) {
    Calls() += text;
    Calls() += ";";
}
#endif
}
