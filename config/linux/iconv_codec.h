// GBK <-> UTF-8 through glibc's iconv.
#pragma once

#include "config/ini_document.h"

namespace horalia::linux_backend {

ini::TextCodec& IconvCodec();

}  // namespace horalia::linux_backend
