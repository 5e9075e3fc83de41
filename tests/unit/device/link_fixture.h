#pragma once
// A DeviceLink opened on the scripted device, with a manual clock.
#include "device/device_link.h"
#include "platform/clock.h"
#include "unit/device/scripted_device.h"

#include <gtest/gtest.h>

namespace zq::test {

class LinkTest : public ::testing::Test {
protected:
    LinkTest() {
        link.hid.setPath(backend.collectionPath());
        EXPECT_TRUE(link.hid.openCollection());
        link.open = true;
    }

    ScriptedDevice& dev() { return *backend.device; }

    platform::ManualClock clock;
    ScriptedBackend backend;
    device::DeviceLink link{backend, clock};
};

} // namespace zq::test
