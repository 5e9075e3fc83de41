#include "device/device_link.h"

namespace zq::device {

bool identifies(const hid::HidDeviceRecord& rec, const LinkIdentity& id) {
    return rec.attributes().vendorId == id.vendorId && rec.attributes().productId == id.productId &&
           rec.caps().usagePage == id.usagePage && rec.caps().usage == id.usage;
}

DeviceLink::DeviceLink(hid::RawNodeBackend& backend, platform::Clock& clock) : hid(backend), clock(clock) {
    hid.setClock(clock);
}

} // namespace zq::device
