#include "device/device_link.h"

namespace zq::device {

DeviceLink::DeviceLink(hid::RawNodeBackend& backend, platform::Clock& clock) : hid(backend), clock(clock) {
    hid.setClock(clock);
}

} // namespace zq::device
