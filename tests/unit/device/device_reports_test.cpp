// The device-report threads against the emulator, each body run in the test's own thread on a scripted
// clock. The emulator's reads move the clock, and the test makes the device send reports from the clock's
// sleeps, so the thread meets them while it listens.
#include "device/device_reports.h"
#include "platform/debug.h"
#include "sim/descriptors.h"
#include "unit/device/script_clock.h"
#include "unit/device/wrapped_backend.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace zq::device {
namespace {

using namespace std::chrono_literals;
using platform::Clock;

class Sink final : public DeviceReportSink {
public:
    void deviceReport(DeviceClass device, DeviceReport report, platform::Event& stop) override {
        std::lock_guard lock(mutex_);
        got.emplace_back(device, report);
        if (stopOnReport) stop.set(); // the window closes while the report is being handled
    }
    std::vector<std::pair<DeviceClass, DeviceReport>> got;
    bool stopOnReport = false;

private:
    std::mutex mutex_;
};

struct DeviceReportsTest : ::testing::Test {
    platform::Event stop;
    test::ScriptClock clock{stop};
    sim::SimBackend sim{clock};
    test::WrappedBackend backend{sim};
    Sink sink;
    DeviceReportMonitor monitor{backend, sink, clock};

    void SetUp() override { platform::clearDebugLines(); }
    void run(DeviceClass d, Clock::Duration listenFor = 5s) {
        stop.reset();
        clock.clearWaits();
        clock.stopAt = clock.now() + listenFor;
        monitor.run(d, stop);
        backend.beforeRead = nullptr;
    }
    // Before the listening thread's first read, the device sends these.
    void onFirstRead(std::function<void()> send) {
        backend.beforeRead = [send, done = false](const hid::NodeInfo&, unsigned) mutable {
            if (done) return;
            done = true;
            send();
        };
    }
};

TEST_F(DeviceReportsTest, UsagesBecomeReportsForTheWindow) {
    using R = DeviceReport;
    struct Case {
        DeviceClass device;
        std::vector<std::pair<DeviceClass, R>> expected;
    };
    const Case cases[] = {
        {DeviceClass::Mouse,
         {{DeviceClass::Mouse, R::FullReadBack},
          {DeviceClass::Mouse, R::SlotRefresh},
          {DeviceClass::Mouse, R::Click}}},
        // The keyboard's 0x0403 asks for nothing.
        {DeviceClass::Keyboard,
         {{DeviceClass::Keyboard, R::FullReadBack}, {DeviceClass::Keyboard, R::SlotRefresh}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(deviceKey(c.device));
        sink.got.clear();
        sim::SimDevice& dev = c.device == DeviceClass::Mouse ? sim.mouse() : sim.keyboard();
        onFirstRead([&] {
            for (std::uint16_t usage : {0x0402, 0x0401, 0x0403, 0x0999, 0x0000}) dev.sendConsumerUsage(usage);
        });
        run(c.device);
        EXPECT_EQ(sink.got, c.expected);
        EXPECT_TRUE(platform::debugContains(c.device == DeviceClass::Mouse ? kMouseReportsExit
                                                                           : kKeyboardReportsExit));
    }
    EXPECT_EQ(deviceReportMessage(DeviceClass::Mouse, R::FullReadBack), 0x901);
    EXPECT_EQ(deviceReportMessage(DeviceClass::Mouse, R::SlotRefresh), 0x902);
    EXPECT_EQ(deviceReportMessage(DeviceClass::Keyboard, R::FullReadBack), 0xB01);
    EXPECT_EQ(deviceReportMessage(DeviceClass::Keyboard, R::SlotRefresh), 0xB02);
}

TEST_F(DeviceReportsTest, GarbageOnTheConsumerCollectionIsIgnored) {
    const int node = sim.mouse().model().consumerNode;
    onFirstRead([&] {
        using V = std::vector<std::uint8_t>;
        for (const V& r : {V{sim::kConsumerReportId}, V{sim::kConsumerReportId, 0x02},
                           V{sim::kConsumerReportId, 0x99, 0x09, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                           V{0x07, 0x02, 0x04}, V{0x00}, V{sim::kConsumerReportId, 0xFF, 0xFF}})
            sim.mouse().sendNodeReport(node, r);
        // A press of 0x0402 with no release, then a report of an id the collection does not have: the
        // press is acted on once.
        sim.mouse().sendNodeReport(node, V{sim::kConsumerReportId, 0x02, 0x04});
        sim.mouse().sendNodeReport(node, V{0x07, 0x00, 0x00});
        sim.mouse().sendNodeReport(node, V{sim::kConsumerReportId, 0x00, 0x00});
    });
    run(DeviceClass::Mouse);
    EXPECT_EQ(sink.got, (std::vector<std::pair<DeviceClass, DeviceReport>>{
                            {DeviceClass::Mouse, DeviceReport::FullReadBack}}));
}

TEST_F(DeviceReportsTest, AnUnpluggedDeviceEndsListeningAndItsReturnIsWaitedForWithoutPolling) {
    clock.script = {[&] { sim.mouse().plug(); }};
    // After the replug the thread listens again, until the time limit stops it.
    backend.beforeRead = [this, n = 0](const hid::NodeInfo&, unsigned) mutable {
        if (++n == 2) sim.mouse().unplug();
        if (n == 4) sim.mouse().sendConsumerUsage(0x0401);
    };
    run(DeviceClass::Mouse);
    const auto waits = clock.waits();
    ASSERT_GE(waits.size(), 1u);
    EXPECT_EQ(waits[0].limit, Clock::kNoLimit);
    EXPECT_EQ(waits[0].result, 1); // the replug woke it
    EXPECT_EQ(backend.enumerations, 2);
    EXPECT_EQ(sink.got, (std::vector<std::pair<DeviceClass, DeviceReport>>{
                            {DeviceClass::Mouse, DeviceReport::SlotRefresh}}));
}

TEST_F(DeviceReportsTest, WithNoDeviceTheThreadDoesNotWake) {
    sim.mouse().unplug();
    run(DeviceClass::Mouse);
    const auto waits = clock.waits();
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].limit, Clock::kNoLimit);
    EXPECT_EQ(backend.enumerations, 1);

    // Without a change signal: the described look every second.
    backend.withChanges = false;
    clock.maxWaits = 3;
    run(DeviceClass::Mouse);
    for (const auto& w : clock.waits()) EXPECT_EQ(w.limit, kReportScanInterval);
}

TEST_F(DeviceReportsTest, AStopSetWhileAReportIsHandledEndsTheThread) {
    sink.stopOnReport = true;
    onFirstRead([&] {
        sim.mouse().sendConsumerUsage(0x0402);
        sim.mouse().sendConsumerUsage(0x0401);
    });
    run(DeviceClass::Mouse, 60s);
    EXPECT_EQ(sink.got.size(), 1u);
    EXPECT_TRUE(clock.waits().empty());
    EXPECT_TRUE(platform::debugContains(kMouseReportsExit));
}

TEST_F(DeviceReportsTest, ARefusedConsumerCollectionIsReportedOnce) {
    sim.keyboard().setAccessDenied(true);
    clock.script = {{}, [&] { sim.pad().unplug(); }};
    run(DeviceClass::Keyboard);
    const auto lines = platform::debugLines();
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(),
                      [](const std::string& l) { return l.find("permission denied") != std::string::npos; }),
        1);
    EXPECT_EQ(clock.waits()[0].limit, kReportScanInterval);
}

TEST_F(DeviceReportsTest, AFailedListingEndsTheThread) {
    backend.failEnumerate = true;
    run(DeviceClass::Keyboard);
    EXPECT_TRUE(platform::debugContains("cannot be listed"));
    EXPECT_TRUE(platform::debugContains(kKeyboardReportsExit));
}

} // namespace
} // namespace zq::device
