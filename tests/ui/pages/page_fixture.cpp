#include "page_fixture.h"

namespace zq::test {

// Opens the link the way the presence scan does: the collection with the vendor usage page and usage.
bool PageFixture::openLink(device::DeviceClass c) {
    device::DeviceLink& link = state.link(c);
    if (!link.hid.enumerateInterfaces()) return false;
    for (const auto& path : link.hid.paths()) {
        link.hid.openForRead = true;
        link.hid.openForWrite = true;
        link.hid.exclusive = false;
        link.hid.setPath(path);
        if (!link.hid.openCollection()) continue;
        if (device::identifies(link.hid, link.identity)) {
            link.open = true;
            return true;
        }
        link.hid.closeCollection();
    }
    return false;
}

} // namespace zq::test
