// The presence threads against the emulator. The thread body runs in the test's own thread on a scripted
// clock: every wait it makes is recorded, and the script plugs, unplugs or changes a device while the
// thread waits, so each test sees exactly when the thread woke and what it asked of the window.
#include "device/commands.h"
#include "device/presence.h"
#include "platform/debug.h"
#include "unit/device/script_clock.h"
#include "unit/device/sim_link.h"
#include "unit/device/wrapped_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

namespace zq::device {
namespace {

using namespace std::chrono_literals;
using platform::Clock;
using Strings = std::vector<std::string>;

// The window's side, as a list of what was asked of it.
class Recorder final : public PresenceEvents {
public:
    void selectSavedProfile(DeviceClass d) override { add("profile ", d); }
    void showDeviceTab(DeviceClass d) override { add("show ", d); }
    void padTabConnected() override { add("padTab"); }
    void firstScanFoundDevice(DeviceClass d) override { add("startup ", d); }
    void hideDeviceTab(DeviceClass d) override { add("hide ", d); }
    void selectDeviceTab(DeviceClass d) override { add("select ", d); }
    void postMouseDisconnected() override { add("0xC05"); }
    void hideMainWindow() override { add("hideWindow"); }
    void sameModeVisible(DeviceClass d, bool visible) override {
        add(std::string("sameMode ") + deviceKey(d) + (visible ? " on" : " off"));
    }
    void linkErrorChanged(DeviceClass d, LinkError e) override {
        add(std::string("error ") + deviceKey(d) + (e == LinkError::Permission ? " permission" : " none"));
    }

    Strings take() {
        std::lock_guard lock(mutex_);
        return std::exchange(log_, {});
    }

private:
    void add(std::string s, DeviceClass d) { add(s + deviceKey(d)); }
    void add(std::string s) {
        std::lock_guard lock(mutex_);
        log_.push_back(std::move(s));
    }
    std::mutex mutex_;
    Strings log_;
};

sim::SimDevice& simOf(sim::SimBackend& b, DeviceClass d) {
    return d == DeviceClass::Mouse ? b.mouse() : d == DeviceClass::Pad ? b.pad() : b.keyboard();
}

std::size_t countLines(std::string_view text) {
    const auto lines = platform::debugLines();
    return static_cast<std::size_t>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; }));
}

struct PresenceTest : ::testing::Test {
    platform::Event stop;
    test::ScriptClock clock{stop};
    sim::SimBackend sim{clock};
    test::WrappedBackend backend{sim};
    AppState app{backend, clock};
    Recorder events;
    PresenceMonitor monitor{app, events, clock};

    void SetUp() override {
        app.assignIdentities();
        platform::clearDebugLines();
    }
    void unplugAll() {
        for (auto d : kDeviceClasses) simOf(sim, d).unplug();
    }
    void run(DeviceClass d) {
        stop.reset();
        clock.clearWaits();
        monitor.run(d, stop);
    }
    // The limits of the waits the thread made.
    std::vector<Clock::Duration> limits() const {
        std::vector<Clock::Duration> out;
        for (const auto& w : clock.waits()) out.push_back(w.limit);
        return out;
    }
};

TEST_F(PresenceTest, WithNoDeviceTheThreadScansOnceAndSleepsUntilANodeChanges) {
    unplugAll();
    run(DeviceClass::Mouse);
    // One scan, then one wait without a limit, which only the stop ended: no wake-up in between.
    EXPECT_EQ(backend.enumerations, 1);
    EXPECT_EQ(limits(), std::vector<Clock::Duration>{Clock::kNoLimit});
    EXPECT_EQ(clock.waits()[0].result, 0);
    EXPECT_TRUE(events.take().empty()); // nothing shown, no start-up message
    EXPECT_FALSE(app.mouseLink.open);
    EXPECT_TRUE(platform::debugContains(kMousePresenceExit));
}

TEST_F(PresenceTest, ADevicePluggedInIsFoundAtTheChangeWithoutAStartUpMessage) {
    unplugAll();
    platform::Event linkChanged; // what a lighting thread with nothing to send waits on
    app.mouseLink.stateChanges.subscribe(linkChanged);
    clock.script = {[&] {
        EXPECT_FALSE(linkChanged.isSet());
        sim.mouse().plug();
    }};
    run(DeviceClass::Mouse);
    EXPECT_TRUE(linkChanged.isSet());
    app.mouseLink.stateChanges.unsubscribe(linkChanged);
    ASSERT_EQ(clock.waits().size(), 2u);
    EXPECT_EQ(clock.waits()[0].result, 1); // woken by the change, not by a timer
    EXPECT_EQ(backend.enumerations, 2);
    EXPECT_TRUE(app.mouseLink.open);
    // The start-up message belongs to the first scan only.
    EXPECT_EQ(events.take(), (Strings{"profile mouse", "show mouse", "sameMode mouse off"}));
}

TEST_F(PresenceTest, ArrivalAtStartTellsTheWindowInTheDescribedOrder) {
    struct Case {
        DeviceClass device;
        Strings steps;
    };
    const Case cases[] = {
        {DeviceClass::Mouse, {"profile mouse", "show mouse", "startup mouse", "sameMode mouse on"}},
        {DeviceClass::Pad, {"show pad", "profile pad", "padTab", "startup pad", "sameMode pad on"}},
        {DeviceClass::Keyboard,
         {"show keyboard", "profile keyboard", "startup keyboard", "sameMode keyboard on"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(deviceKey(c.device));
        // Another device is open (its flag is all the thread looks at), so the same-mode button shows.
        const DeviceClass other = c.device == DeviceClass::Mouse ? DeviceClass::Pad : DeviceClass::Mouse;
        app.link(other).open = true;
        // A monitor of its own: the previous case's arrival woke its peers, which this one must not see.
        PresenceMonitor fresh(app, events, clock);
        stop.reset();
        clock.clearWaits();
        fresh.run(c.device, stop);
        app.link(other).open = false;
        EXPECT_EQ(events.take(), c.steps);
        EXPECT_TRUE(app.link(c.device).open);
        EXPECT_EQ(app.link(c.device).hid.attributes().productId, productId(c.device));
        EXPECT_EQ(app.link(c.device).hid.caps().usagePage, kVendorUsagePage);
        EXPECT_EQ(limits(), std::vector<Clock::Duration>{Clock::kNoLimit});
        EXPECT_TRUE(platform::debugContains(presenceExitString(c.device)));
    }
}

TEST_F(PresenceTest, RemovalChoosesTheTabOfADeviceStillOpenOrLetsTheWindowGo) {
    struct Case {
        DeviceClass device;
        std::vector<DeviceClass> othersOpen;
        std::string last;
    };
    using D = DeviceClass;
    const Case cases[] = {
        {D::Mouse, {}, "0xC05"},
        {D::Mouse, {D::Pad}, "select pad"},
        {D::Mouse, {D::Keyboard, D::Pad}, "select keyboard"},
        {D::Pad, {}, "hideWindow"},
        {D::Pad, {D::Mouse}, "select mouse"},
        {D::Pad, {D::Keyboard, D::Mouse}, "select keyboard"},
        {D::Keyboard, {}, "hideWindow"},
        {D::Keyboard, {D::Pad}, "select pad"},
        {D::Keyboard, {D::Mouse, D::Pad}, "select mouse"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(deviceKey(c.device)) + " -> " + c.last);
        simOf(sim, c.device).plug();
        for (auto o : c.othersOpen) app.link(o).open = true;
        app.link(c.device).syncLighting = true;
        clock.script = {[&] { simOf(sim, c.device).unplug(); }};
        run(c.device);
        const Strings steps = events.take();
        ASSERT_GE(steps.size(), 2u);
        EXPECT_EQ(steps[steps.size() - 2], std::string("hide ") + deviceKey(c.device));
        EXPECT_EQ(steps.back(), c.last);
        EXPECT_EQ(std::count(steps.begin(), steps.end(), "0xC05"), c.last == "0xC05" ? 1 : 0);
        EXPECT_FALSE(app.link(c.device).open);
        EXPECT_FALSE(app.link(c.device).syncLighting);
        EXPECT_FALSE(app.link(c.device).hid.isOpen()); // the dead handle is let go
        for (auto o : c.othersOpen) app.link(o).open = false;
    }
}

TEST_F(PresenceTest, TheSameModeButtonFollowsTheOtherDevices) {
    clock.script = {[&] {
                        app.padLink.open = true; // the pad thread opened the pad...
                        sim.pad().unplug();      // ...and its node changes wake this thread
                        sim.pad().plug();
                    },
                    [&] {
                        app.padLink.open = false;
                        sim.pad().unplug();
                    }};
    run(DeviceClass::Mouse);
    EXPECT_EQ(events.take(), (Strings{"profile mouse", "show mouse", "startup mouse", "sameMode mouse off",
                                      "sameMode mouse on", "sameMode mouse off"}));
}

TEST_F(PresenceTest, OtherVendorsAreNeverOpenedAndOurOtherProductsAreClosedAgain) {
    backend.foreignNode = true;
    sim.mouse().unplug();
    run(DeviceClass::Mouse);
    EXPECT_EQ(backend.opensOf(test::WrappedBackend::kForeignNode), 0);
    const auto padNodes = sim.pad().nodeNames();
    ASSERT_FALSE(padNodes.empty());
    EXPECT_GT(backend.opensOf(padNodes.back()), 0); // a 0x0C45 node of another product is looked at
    EXPECT_FALSE(app.mouseLink.open);
    EXPECT_FALSE(app.mouseLink.hid.isOpen());
    // ...and let go: nothing keeps the pad's vendor node from being opened exclusively.
    EXPECT_NE(sim.open(padNodes.back(), hid::kAccessRead | hid::kAccessWrite, true), nullptr);
}

TEST_F(PresenceTest, ARefusedNodeIsReportedOnceAfterASecondLookAndClearedWhenAccessIsGranted) {
    sim.mouse().setAccessDenied(true);
    clock.script = {
        {},                                          // 1 s later the refusal still stands: it is reported
        [&] { sim.pad().unplug(); },                 // an unrelated change: looked at, not reported again
        [&] { sim.mouse().setAccessDenied(false); }, // udev grants access: a change, and the mouse opens
    };
    run(DeviceClass::Mouse);
    const auto waits = clock.waits();
    ASSERT_EQ(waits.size(), 4u);
    EXPECT_EQ(waits[0].limit, kScanInterval); // the second look
    EXPECT_EQ(waits[0].result, -1);
    for (std::size_t i = 1; i < waits.size(); ++i) EXPECT_EQ(waits[i].limit, Clock::kNoLimit) << i;
    EXPECT_EQ(countLines("permission denied"), 1u);
    EXPECT_EQ(events.take(), (Strings{"error mouse permission", "error mouse none", "profile mouse",
                                      "show mouse", "sameMode mouse off"}));
    EXPECT_EQ(app.mouseLink.error, LinkError::None);
    EXPECT_TRUE(app.mouseLink.open);
}

TEST_F(PresenceTest, ARefusalThatIsGoneAtTheSecondLookIsNotReported) {
    // udev applies the rights a moment after the node appears: the first look may be refused.
    sim.mouse().setAccessDenied(true);
    clock.script = {[&] { sim.mouse().setAccessDenied(false); }};
    run(DeviceClass::Mouse);
    EXPECT_EQ(countLines("permission denied"), 0u);
    EXPECT_EQ(app.mouseLink.error, LinkError::None);
    EXPECT_TRUE(app.mouseLink.open);
}

TEST_F(PresenceTest, WithoutAChangeSignalTheThreadsLookEverySecondAndTheOpenPadEvery100ms) {
    backend.withChanges = false;
    clock.maxWaits = 4;
    sim.mouse().unplug();
    run(DeviceClass::Mouse);
    EXPECT_EQ(limits(), std::vector<Clock::Duration>(4, kScanInterval));
    EXPECT_EQ(backend.enumerations, 4);

    run(DeviceClass::Pad);
    EXPECT_EQ(limits(), std::vector<Clock::Duration>(4, kPadCheckInterval));
    EXPECT_TRUE(app.padLink.open);
}

TEST_F(PresenceTest, AHangUpMetByATransferWakesTheThreadAtOnce) {
    backend.withChanges = false; // so nothing but the hang-up can end the wait early
    clock.script = {[&] {
        sim.mouse().unplug();
        const std::array<std::uint8_t, 15> frame{};
        WriteLightFrame(app.mouseLink, frame); // the lighting thread's next frame meets the hang-up
    }};
    clock.maxWaits = 2;
    run(DeviceClass::Mouse);
    const auto waits = clock.waits();
    ASSERT_GE(waits.size(), 1u);
    EXPECT_EQ(waits[0].result, 2); // the link's removal signal, before the second was up
    EXPECT_FALSE(app.mouseLink.open);
    const Strings steps = events.take();
    EXPECT_EQ(steps.back(), "0xC05");
}

TEST_F(PresenceTest, AFailedListingEndsTheThread) {
    backend.failEnumerate = true;
    run(DeviceClass::Pad);
    EXPECT_TRUE(clock.waits().empty());
    EXPECT_TRUE(platform::debugContains("cannot be listed"));
    EXPECT_TRUE(platform::debugContains(kPadPresenceExit));
    EXPECT_TRUE(events.take().empty());
}

TEST_F(PresenceTest, ADeviceThatVanishesBetweenListingAndOpenIsSimplyNotFound) {
    // The node is listed, then gone when the scan opens it.
    clock.script = {};
    struct VanishingBackend final : hid::RawNodeBackend {
        sim::SimBackend& inner;
        explicit VanishingBackend(sim::SimBackend& s) : inner(s) {}
        bool enumerate(std::vector<hid::NodeInfo>& out) override {
            const bool ok = inner.enumerate(out);
            inner.mouse().unplug();
            return ok;
        }
        std::unique_ptr<hid::RawNode> open(const std::string& n, unsigned a, bool x) override {
            return inner.open(n, a, x);
        }
        bool present(const std::string& n, std::uint16_t v, std::uint16_t p) override {
            return inner.present(n, v, p);
        }
        hid::NodeChanges* nodeChanges() override { return inner.nodeChanges(); }
    } vanishing(sim);
    AppState local(vanishing, clock);
    local.assignIdentities();
    PresenceMonitor m(local, events, clock);
    stop.reset();
    clock.clearWaits();
    m.run(DeviceClass::Mouse, stop);
    EXPECT_FALSE(local.mouseLink.open);
    EXPECT_TRUE(events.take().empty());
}

} // namespace
} // namespace zq::device
