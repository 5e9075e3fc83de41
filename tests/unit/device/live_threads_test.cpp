// The presence threads, the device-report threads, the device worker and the sequences on real threads
// against the emulator, wired the way the shell wires them: the window's steps arrive in order, a report
// from the device becomes a read-back on the worker whose result is taken into the live state, and every
// thread stops within its bound. Run under ThreadSanitizer in CI.
#include "device/device_reports.h"
#include "device/device_worker.h"
#include "device/presence.h"
#include "device/sync.h"
#include "sim/sim_backend.h"
#include "unit/device/wrapped_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace zq::device {
namespace {

using namespace std::chrono_literals;
constexpr auto kPatience = 10s; // bound of every wait for another thread

// The window: records what it is asked, owns the live state (its lock stands for the UI thread), and
// runs the read-back of a device report on the worker, waiting for it as `invoke` does.
class Window final : public PresenceEvents, public DeviceReportSink {
public:
    Window(AppState& app, DeviceWorker& worker) : app_(app), worker_(worker) {}

    void selectSavedProfile(DeviceClass d) override { add(std::string("profile ") + deviceKey(d)); }
    void showDeviceTab(DeviceClass d) override { add(std::string("show ") + deviceKey(d)); }
    void padTabConnected() override { add("padTab"); }
    void firstScanFoundDevice(DeviceClass d) override { add(std::string("startup ") + deviceKey(d)); }
    void hideDeviceTab(DeviceClass d) override { add(std::string("hide ") + deviceKey(d)); }
    void selectDeviceTab(DeviceClass d) override { add(std::string("select ") + deviceKey(d)); }
    void postMouseDisconnected() override { add("0xC05"); }
    void hideMainWindow() override { add("hideWindow"); }
    void sameModeVisible(DeviceClass d, bool on) override {
        add(std::string("sameMode ") + deviceKey(d) + (on ? " on" : " off"));
    }

    void deviceReport(DeviceClass device, DeviceReport report, platform::Event& stop) override {
        add(std::string("report ") + deviceKey(device) + " " +
            std::to_string(deviceReportMessage(device, report)));
        if (report != DeviceReport::FullReadBack) return;
        // Shared with the job: a wait that ends on the stop event leaves the job running.
        auto done = std::make_shared<platform::Event>();
        worker_.post([this, device, done](DeviceWorker::JobContext& job) {
            DeviceState copy;
            {
                std::lock_guard ui(uiMutex);
                copy = app_.state(device);
            }
            const SyncResult r = device == DeviceClass::Mouse
                                     ? mouseFullReadBack(app_.link(device), copy, job.stop())
                                     : keyboardFullReadBack(app_.link(device), copy, job.stop());
            {
                std::lock_guard ui(uiMutex);
                takeParts(app_.state(device), copy, r.changed);
            }
            add(std::string("read back ") + deviceKey(device));
            done->set();
        });
        platform::Event* events[] = {&stop, done.get()};
        if (platform::Event::waitAny(events, kPatience) < 0) add("read-back wait ran out");
    }

    // Waits until `step` has been asked for (after `from` steps), and returns its position.
    std::ptrdiff_t await(const std::string& step, std::size_t from = 0) {
        std::unique_lock lock(mutex_);
        std::ptrdiff_t at = -1;
        cv_.wait_for(lock, kPatience, [&] {
            const auto it =
                std::find(log_.begin() + static_cast<long>(std::min(from, log_.size())), log_.end(), step);
            if (it == log_.end()) return false;
            at = it - log_.begin();
            return true;
        });
        return at;
    }
    std::vector<std::string> log() {
        std::lock_guard lock(mutex_);
        return log_;
    }

    std::mutex uiMutex;

private:
    void add(std::string s) {
        std::lock_guard lock(mutex_);
        log_.push_back(std::move(s));
        cv_.notify_all();
    }
    AppState& app_;
    DeviceWorker& worker_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<std::string> log_;
};

TEST(LiveThreads, DevicesComeAndGoAndTheirReportsBecomeReadBacks) {
    sim::SimBackend sim; // real time: the threads really block
    test::WrappedBackend backend(sim);
    // The mouse's device-report thread is listening once it reads its read-only handle.
    platform::Event listening;
    backend.beforeRead = [&](const hid::NodeInfo& node, unsigned access) {
        if (access == hid::kAccessRead && node.productId == kMouseProductId) listening.set();
    };
    AppState app(backend);
    app.assignIdentities();
    DeviceWorker worker;
    Window window(app, worker);
    PresenceMonitor presence(app, window);
    DeviceReportMonitor reports(backend, window);
    worker.start();
    presence.start();
    reports.start();

    for (const char* d : {"mouse", "pad", "keyboard"})
        ASSERT_GE(window.await(std::string("startup ") + d), 0) << d;
    EXPECT_GE(window.await("sameMode mouse on"), 0);
    EXPECT_TRUE(app.mouseLink.open && app.padLink.open && app.keyboardLink.open);

    // The DPI button on the mouse: 0x0402, the full read-back on the worker, its result in the live state.
    ASSERT_TRUE(listening.wait(kPatience));
    ASSERT_TRUE(sim.mouse().pressDpiButton());
    ASSERT_GE(window.await("report mouse 2305"), 0); // 0x901
    ASSERT_GE(window.await("read back mouse"), 0);
    {
        std::lock_guard ui(window.uiMutex);
        EXPECT_EQ(app.mouse.info, sim.mouse().deviceInfo());
        const auto keys = sim.mouse().keyArea();
        EXPECT_TRUE(
            std::equal(app.mouse.keyPages[1].begin(), app.mouse.keyPages[1].end(), keys.begin() + 126));
    }

    // The mouse goes while the keyboard is open: its tab hides and the keyboard's is chosen.
    const std::size_t before = window.log().size();
    sim.mouse().unplug();
    const auto hidden = window.await("hide mouse", before);
    ASSERT_GE(hidden, 0);
    EXPECT_GT(window.await("select keyboard", static_cast<std::size_t>(hidden)), hidden);
    EXPECT_FALSE(app.mouseLink.open);

    // The keyboard and then the pad go: the last one lets the window go, without the mouse's message.
    sim.keyboard().unplug();
    ASSERT_GE(window.await("hide keyboard", before), 0);
    sim.pad().unplug();
    ASSERT_GE(window.await("hideWindow", before), 0);
    const auto log = window.log();
    EXPECT_EQ(std::count(log.begin() + static_cast<long>(before), log.end(), "0xC05"), 0);

    // And back: found again at once.
    sim.pad().plug();
    EXPECT_GE(window.await("show pad", before), 0);

    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_TRUE(reports.stop(1000ms));
    EXPECT_TRUE(presence.stop(1000ms));
    EXPECT_TRUE(worker.stop(1000ms));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 3s);
    backend.beforeRead = nullptr;
}

} // namespace
} // namespace zq::device
