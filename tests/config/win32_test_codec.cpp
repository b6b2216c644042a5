#include "config/win32/win32_files.h"
#include "config_test_support.h"

namespace horalia::testing {

ini::TextCodec& PlatformGbkCodec() {
    return win32::CodePage936();
}

}  // namespace horalia::testing
