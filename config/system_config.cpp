// The parts of the accessor that name the platform's backend; built into the platform library so
// that the portable library can be linked (and tested) without one.
#include "config/ini_file.h"
#include "config/profile_backend.h"

namespace horalia {

读写配置::读写配置() : backend_(&SystemProfileBackend()) {}

读写配置& Config() {
    static 读写配置 instance;
    return instance;
}

}  // namespace horalia
