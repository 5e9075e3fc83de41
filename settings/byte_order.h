#pragma once
// The settings records use the shared little-endian helpers under their own namespace.
#include "platform/byte_order.h"

namespace zq::settings {
using platform::readLe16;
using platform::readLe32;
using platform::writeLe16;
using platform::writeLe32;
} // namespace zq::settings
