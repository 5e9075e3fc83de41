#pragma once
// Emulated devices served as hidraw nodes by the FUSE harness, and the hidraw backend pointed at them.
// Everything here runs in real time: the kernel's waits are real.
#include "device/device_link.h"
#include "device/hid/hid_device_record.h"
#include "device/hid/hidraw_backend.h"
#include "sim/descriptors.h"
#include "sim/sim_backend.h"
#include "support/bounded_wait.h"
#include "support/hidraw_fuse.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace zq::test {

class HidrawFuseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ZQ_START_HIDRAW_FUSE_OR_SKIP(fuse);
        backend = std::make_unique<hid::HidrawBackend>(fuse.folder());
    }
    void TearDown() override {
        link.reset();
        fuse.stop();
    }

    // Opens a link on the emulated device's vendor collection, the way the presence scan does.
    bool openLink(sim::SimDevice& dev) {
        link = std::make_unique<device::DeviceLink>(*backend);
        auto& l = *link;
        l.identity = {sim::kVendorId, dev.model().productId, sim::kVendorUsagePage, sim::kVendorUsage};
        if (!l.hid.enumerateInterfaces()) return false;
        for (const auto& path : l.hid.paths()) {
            l.hid.setPath(path);
            if (!l.hid.openCollection()) continue;
            if (l.hid.attributes().productId == l.identity.productId &&
                l.hid.caps().usagePage == l.identity.usagePage && l.hid.caps().usage == l.identity.usage) {
                l.open = true;
                return true;
            }
            l.hid.closeCollection();
        }
        return false;
    }
    bool linkPresent() {
        return link->hid.isPresent(link->hid.path(), link->identity.vendorId, link->identity.productId);
    }

    sim::SimBackend sim; // the system clock: the harness serves it to the kernel in real time
    HidrawFuse fuse{sim};
    std::unique_ptr<hid::HidrawBackend> backend;
    std::unique_ptr<device::DeviceLink> link;
};

// Every wait of these tests has a bound (support/bounded_wait.h): a harness or backend that misbehaves
// fails the test, it never hangs it.

template <class F> Millis timed(F&& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now() - t0);
}

} // namespace zq::test
