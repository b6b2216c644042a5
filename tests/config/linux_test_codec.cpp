#include "config/linux/iconv_codec.h"
#include "config_test_support.h"

namespace horalia::testing {

ini::TextCodec& PlatformGbkCodec() {
    return linux_backend::IconvCodec();
}

}  // namespace horalia::testing
