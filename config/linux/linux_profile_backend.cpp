// The INI engine on Linux files, GBK converted through iconv.
#include "config/engine_profile_backend.h"
#include "config/linux/atomic_file.h"
#include "config/linux/iconv_codec.h"

namespace horalia {

SmallFiles& SystemFiles() {
    return linux_backend::LinuxFiles();
}

ProfileBackend& SystemProfileBackend() {
    static EngineProfileBackend backend(linux_backend::LinuxFiles(), linux_backend::IconvCodec());
    return backend;
}

}  // namespace horalia
