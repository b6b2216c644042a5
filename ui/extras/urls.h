// The program's web addresses, set when the build is configured.
#pragma once

#include "common/vendor_addresses.h"
