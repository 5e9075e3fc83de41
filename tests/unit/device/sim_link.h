#pragma once
// Opens a link on the vendor collection of an emulated device, the way the presence scan does: walk
// the collection paths, open each candidate and keep the one with the vendor usage page and usage.
#include "device/device_link.h"
#include "sim/descriptors.h"
#include "sim/sim_device.h"

namespace zq::test {

inline bool openOnVendorCollection(device::DeviceLink& link, sim::SimDevice& dev) {
    link.identity = {0x0C45, dev.model().productId, sim::kVendorUsagePage, sim::kVendorUsage};
    if (!link.hid.enumerateInterfaces()) return false;
    for (const auto& path : link.hid.paths()) {
        link.hid.setPath(path);
        if (!link.hid.openCollection()) continue;
        if (link.hid.attributes().productId == link.identity.productId &&
            link.hid.caps().usagePage == link.identity.usagePage &&
            link.hid.caps().usage == link.identity.usage) {
            link.open = true;
            return true;
        }
        link.hid.closeCollection();
    }
    return false;
}

} // namespace zq::test
