// The presence thread and the permission report on the real hidraw backend, over emulated devices
// served as hidraw nodes by the FUSE harness (skipped where FUSE cannot be mounted). The nodes do real
// kernel I/O; the thread's own waits run on a scripted clock.
#include "device/hid/hidraw_backend.h"
#include "device/presence.h"
#include "sim/sim_backend.h"
#include "support/hidraw_fuse.h"
#include "unit/device/script_clock.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <mutex>
#include <string>
#include <vector>

namespace zq::device {
namespace {

class Steps final : public PresenceEvents {
public:
    void selectSavedProfile(DeviceClass d) override { add("profile ", d); }
    void showDeviceTab(DeviceClass d) override { add("show ", d); }
    void padTabConnected() override { add("padTab", DeviceClass::Pad); }
    void firstScanFoundDevice(DeviceClass d) override { add("startup ", d); }
    void hideDeviceTab(DeviceClass d) override { add("hide ", d); }
    void selectDeviceTab(DeviceClass d) override { add("select ", d); }
    void postMouseDisconnected() override { add("0xC05", DeviceClass::Mouse); }
    void hideMainWindow() override { add("hideWindow", DeviceClass::Pad); }
    void sameModeVisible(DeviceClass, bool) override {}
    std::vector<std::string> log;

private:
    void add(std::string s, DeviceClass d) { log.push_back(s.back() == ' ' ? s + deviceKey(d) : s); }
};

struct HidrawPresenceTest : ::testing::Test {
    sim::SimBackend sim; // real time, as the kernel serves it
    zq::test::HidrawFuse fuse{sim};
    std::unique_ptr<hid::HidrawBackend> backend;

    void SetUp() override {
        ZQ_START_HIDRAW_FUSE_OR_SKIP(fuse);
        backend = std::make_unique<hid::HidrawBackend>(fuse.folder());
    }
    void TearDown() override {
        backend.reset();
        fuse.stop();
    }
    std::string fileOf(const std::string& simNode) {
        const std::string path = fuse.pathOf(simNode);
        return path.substr(path.rfind('/') + 1);
    }
};

TEST_F(HidrawPresenceTest, AFuseFolderHasNoChangeSignalSoTheThreadsLookEverySecond) {
    // inotify does not see a FUSE file system's own changes.
    EXPECT_EQ(backend->nodeChanges(), nullptr);
}

TEST_F(HidrawPresenceTest, AnOpenRefusedForLackOfPermissionIsNamedWithItsDevice) {
    std::vector<hid::NodeInfo> nodes;
    ASSERT_TRUE(backend->enumerate(nodes));
    const std::string node = fuse.pathOf(sim.mouse().nodeNames().back());
    fuse.refuseOpen(fileOf(sim.mouse().nodeNames().back()), EACCES);
    EXPECT_EQ(backend->open(node, hid::kAccessRead | hid::kAccessWrite, false), nullptr);
    const auto refused = backend->refusedNodes();
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].node, node);
    EXPECT_EQ(refused[0].vendorId, sim::kVendorId);
    EXPECT_EQ(refused[0].productId, sim::kMouseProductId);

    // Any other reason to fail is not a matter of permission.
    fuse.refuseOpen(fileOf(sim.pad().nodeNames().front()), EIO);
    EXPECT_EQ(backend->open(fuse.pathOf(sim.pad().nodeNames().front()), hid::kAccessRead, false), nullptr);
    EXPECT_EQ(backend->refusedNodes().size(), 1u);
    // The next listing starts afresh.
    fuse.refuseOpen(fileOf(sim.mouse().nodeNames().back()), 0);
    ASSERT_TRUE(backend->enumerate(nodes));
    EXPECT_TRUE(backend->refusedNodes().empty());
}

TEST_F(HidrawPresenceTest, TheMouseIsFoundOnItsHidrawNodeAndItsRemovalSeen) {
    platform::Event stop;
    test::ScriptClock clock(stop);
    AppState app(*backend); // the links' exchanges run in real time, as the kernel does
    app.assignIdentities();
    Steps steps;
    PresenceMonitor monitor(app, steps, clock);
    clock.script = {[&] { sim.mouse().unplug(); }};
    clock.maxWaits = 2;
    monitor.run(DeviceClass::Mouse, stop);
    const auto waits = clock.waits();
    ASSERT_FALSE(waits.empty());
    EXPECT_EQ(waits[0].limit, kScanInterval);
    EXPECT_EQ(steps.log, (std::vector<std::string>{"profile mouse", "show mouse", "startup mouse",
                                                   "hide mouse", "0xC05"}));
    EXPECT_FALSE(app.mouseLink.open);
}

} // namespace
} // namespace zq::device
