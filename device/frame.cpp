#include "device/frame.h"

#include <cstdio>

namespace zq::device {

static_assert(kPayloadSize == 56);
static_assert(kAllCommands.size() == 12);

std::string describeFrame(const Frame& frame) {
    char text[64];
    std::snprintf(text, sizeof text, "cmd %02x len %u off 0x%04x status %02x", frameCommand(frame),
                  static_cast<unsigned>(frameLength(frame)), static_cast<unsigned>(frameAddress(frame)),
                  frameStatus(frame));
    return text;
}

} // namespace zq::device
