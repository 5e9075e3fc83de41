// What the emulator tells the threads that wait for devices: every plug, unplug and change of access
// rights sets the subscribed events; a device without access is there but cannot be listed or opened.
#include "device/hid/hid_device_record.h"
#include "platform/event.h"
#include "sim/sim_backend.h"

#include <gtest/gtest.h>

namespace zq::sim::test {
namespace {

using namespace std::chrono_literals;

TEST(SimNodeChanges, PlugUnplugAndAccessChangesSetEverySubscribedEvent) {
    platform::ManualClock clock;
    SimBackend backend(clock);
    hid::NodeChanges* changes = backend.nodeChanges();
    ASSERT_NE(changes, nullptr);
    platform::Event a(platform::Event::Reset::Auto), b(platform::Event::Reset::Auto);
    changes->subscribe(a);
    changes->subscribe(b);
    changes->subscribe(a); // twice is once

    const auto count = backend.nodeChangeCount();
    backend.pad().unplug();
    EXPECT_TRUE(a.isSet() && b.isSet());
    a.reset();
    b.reset();
    backend.pad().unplug(); // already out: no change
    EXPECT_FALSE(a.isSet());
    backend.pad().plug();
    EXPECT_TRUE(a.isSet());
    a.reset();
    backend.mouse().setAccessDenied(true);
    EXPECT_TRUE(a.isSet());
    a.reset();
    backend.mouse().setAccessDenied(true); // no change
    EXPECT_FALSE(a.isSet());
    EXPECT_EQ(backend.nodeChangeCount(), count + 3);

    changes->unsubscribe(a);
    b.reset();
    backend.keyboard().unplug();
    EXPECT_FALSE(a.isSet());
    EXPECT_TRUE(b.isSet());
    changes->unsubscribe(b);
}

TEST(SimNodeChanges, ADeviceWithoutAccessIsPresentButNeitherListedNorOpened) {
    platform::ManualClock clock;
    SimBackend backend(clock);
    const auto names = backend.mouse().nodeNames();
    ASSERT_FALSE(names.empty());
    backend.mouse().setAccessDenied(true);

    std::vector<hid::NodeInfo> nodes;
    ASSERT_TRUE(backend.enumerate(nodes));
    for (const auto& n : nodes)
        EXPECT_NE(n.vendorId == kVendorId && n.productId == kMouseProductId, true) << n.node;
    EXPECT_EQ(backend.open(names[1], hid::kAccessRead | hid::kAccessWrite, false), nullptr);
    EXPECT_TRUE(backend.present(names[1], kVendorId, kMouseProductId));
    const auto refused = backend.refusedNodes();
    ASSERT_EQ(refused.size(), names.size());
    EXPECT_EQ(refused[0].node, names[0]);
    EXPECT_EQ(refused[0].productId, kMouseProductId);

    backend.mouse().setAccessDenied(false);
    EXPECT_TRUE(backend.refusedNodes().empty());
    EXPECT_NE(backend.open(names[1], hid::kAccessRead | hid::kAccessWrite, false), nullptr);
}

TEST(SimNodeChanges, HandlesOpenedBeforeAccessWasTakenKeepWorking) {
    platform::ManualClock clock;
    SimBackend backend(clock);
    const auto names = backend.pad().nodeNames();
    auto node = backend.open(names[0], hid::kAccessRead | hid::kAccessWrite, false);
    ASSERT_NE(node, nullptr);
    backend.pad().setAccessDenied(true);
    device::Frame frame = device::buildFrame(device::cmd::kBeginTransfer, 0, 0);
    EXPECT_TRUE(node->write(frame, 1000ms).ok());
}

} // namespace
} // namespace zq::sim::test
