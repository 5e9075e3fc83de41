// The lighting threads against the emulator. Most tests run a thread body in the test's own thread on a
// scripted clock, so every sleep is seen and nothing waits; the engine tests run the real threads.
#include "lighting/lighting_engine.h"
#include "lighting/mouse_effects.h"
#include "lighting/pad_effects.h"
#include "lighting/shared_effects.h"
#include "platform/debug.h"
#include "support/bounded_wait.h"
#include "unit/lighting/lighting_rig.h"

#include <gtest/gtest.h>

#include <thread>

namespace zq::lighting {
namespace {

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;
using settings::LightingSettings;

LightingSettings lighting(int mode, int speed = 0, bool seven = true, Rgb colour = {200, 100, 50},
                          int brightness = 3) {
    LightingSettings s;
    s.setMode(static_cast<std::uint8_t>(mode));
    s.setBrightness(static_cast<std::uint8_t>(brightness));
    s.setSpeed(static_cast<std::uint8_t>(speed));
    s.setDirection(1);
    s.setSevenColour(seven);
    s.setColour(colour);
    return s;
}

struct ThreadTest : ::testing::Test {
    test::SimRig rig;
    test::ScriptClock clock{1000};
    AtomicLightPreview preview;
    LightingContext ctx{rig.mouse, rig.pad, rig.keyboard, clock, &preview};
    platform::Event stop;

    void SetUp() override {
        ctx.skipSame = false;
        platform::clearDebugLines();
    }
    // Ready for another run of a thread body.
    void again() {
        stop.reset();
        clock.sleeps.clear();
    }
    std::vector<std::uint8_t> lastFrame(sim::SimDevice& d) { return d.lastLightFrame(); }
    std::vector<Ms> firstSleeps(std::size_t n) {
        return {clock.sleeps.begin(),
                clock.sleeps.begin() + static_cast<long>(std::min(n, clock.sleeps.size()))};
    }
};

TEST_F(ThreadTest, MouseTurnTiming) {
    // Speed 4: the 1 ms stop test, 2 x 4 + 3 = 11 ms, 10 x 4 = 40 ms, then the effect's own pause.
    ctx.mouse.setLighting(lighting(0, 4));
    clock.setLimit(9);
    runMouseLighting(ctx, stop);
    EXPECT_EQ(clock.sleeps, (std::vector<Ms>{3000ms, 1ms, 11ms, 40ms, 20ms, 1ms, 11ms, 40ms, 20ms}));
    EXPECT_TRUE(platform::debugContains(kMouseThreadExit));
}

TEST_F(ThreadTest, PadAndKeyboardTurnTiming) {
    ctx.pad.setLighting(lighting(4, 2)); // PadDelay 17, then the bar's 10 x 2 + 100
    clock.setLimit(5);
    runPadLighting(ctx, stop);
    EXPECT_EQ(clock.sleeps, (std::vector<Ms>{3000ms, 17ms, 120ms, 17ms, 120ms}));
    EXPECT_TRUE(platform::debugContains(kPadThreadExit));

    again();
    ctx.keyboard.setLighting(lighting(5, 1)); // KeyDelay 13, then the reactive mode's 40
    clock.setLimit(5);
    runKeyboardLighting(ctx, stop);
    EXPECT_EQ(clock.sleeps, (std::vector<Ms>{1000ms, 13ms, 40ms, 13ms, 40ms}));
    EXPECT_TRUE(platform::debugContains(kKeyboardThreadExit));
}

TEST_F(ThreadTest, EmulatorShowsTheFrameOfEveryMouseAndPadMode) {
    for (int mode = 0; mode <= 5; ++mode) {
        for (bool seven : {false, true}) {
            again();
            const auto s = lighting(mode, 1, seven);
            ctx.mouse.setLighting(s);
            ctx.mouse.setDpiLevel(2);
            clock.setLimit(40);
            const auto before = rig.backend.mouse().lightFrameCount();
            runMouseLighting(ctx, stop);
            const auto turns = rig.backend.mouse().lightFrameCount() - before;
            ASSERT_GT(turns, 3u) << "mouse mode " << mode;
            MouseEffectState st;
            LedFrame f;
            for (std::uint64_t t = 0; t < turns; ++t) renderMouse({s, 2, false, {}}, st, f);
            EXPECT_EQ(lastFrame(rig.backend.mouse()),
                      std::vector<std::uint8_t>(f.bytes.begin(), f.bytes.begin() + f.length))
                << "mouse mode " << mode << " seven " << seven;
        }
    }
    for (int mode = 0; mode <= 8; ++mode) {
        if (mode == 7) continue; // the marquee's pause depends on the clock; its frames are checked below
        again();
        const auto s = lighting(mode, 1, true);
        ctx.pad.setLighting(s);
        clock.setLimit(40);
        const auto before = rig.backend.pad().lightFrameCount();
        runPadLighting(ctx, stop);
        const auto turns = rig.backend.pad().lightFrameCount() - before;
        ASSERT_GT(turns, 3u) << "pad mode " << mode;
        PadEffectState st;
        LedFrame f;
        for (std::uint64_t t = 0; t < turns; ++t) renderPad({s, false, {}}, st, f);
        EXPECT_EQ(lastFrame(rig.backend.pad()),
                  std::vector<std::uint8_t>(f.bytes.begin(), f.bytes.begin() + f.length))
            << "pad mode " << mode;
        // The preview carries the unscaled colours of the same turn.
        for (std::size_t i = 0; i < kPadLeds; ++i) EXPECT_EQ(preview.led(LightDevice::Pad, i), f.preview[i]);
    }
}

TEST_F(ThreadTest, MarqueeFramesReachThePad) {
    ctx.pad.setLighting(lighting(7, 0, false));
    clock.setLimit(8);
    runPadLighting(ctx, stop);
    const auto frame = lastFrame(rig.backend.pad());
    ASSERT_EQ(frame.size(), 45u);
    // Three shifts right of 0x3F00: LEDs 5-10 lit.
    for (std::size_t i = 0; i < kPadLeds; ++i) EXPECT_EQ(frame[3 * i] != 0, i >= 5 && i <= 10) << "LED " << i;
}

TEST_F(ThreadTest, GradientSetCounterIsWrittenBack) {
    ctx.mouse.setLighting(lighting(3, 0, true));
    clock.setLimit(2 + 4 * 130); // start wait, then 1 + 3 + 20 ms per turn: 130 turns
    runMouseLighting(ctx, stop);
    EXPECT_EQ(ctx.mouse.effectState(), 1); // the breath phase came back to 0 once
}

TEST_F(ThreadTest, AKeyboardTurnLastsAtLeastSixteenMilliseconds) {
    // Mode 0 at speed 0: the table's 2 ms, then the rest of the 16 ms a frame needs on the link.
    ctx.keyboard.setLighting(lighting(0, 0));
    clock.setLimit(5);
    runKeyboardLighting(ctx, stop);
    EXPECT_EQ(clock.sleeps, (std::vector<Ms>{1000ms, 2ms, 14ms, 2ms, 14ms}));
    EXPECT_GT(rig.backend.keyboard().lightFrameCount(), 0u);
}

TEST_F(ThreadTest, ClosedLinkOrSameModeMakesTheThreadIdle) {
    rig.mouse.open = false;
    ctx.mouse.setLighting(lighting(1));
    clock.setLimit(12);
    runMouseLighting(ctx, stop);
    EXPECT_EQ(rig.backend.mouse().lightFrameCount(), 0u);
    // After the 1 ms stop test and 3 ms it waits, without a limit, for the link to change.
    EXPECT_EQ(clock.sleeps[3], platform::Clock::kNoLimit);

    rig.mouse.open = true;
    rig.mouse.syncLighting = true;
    again();
    runMouseLighting(ctx, stop);
    EXPECT_EQ(rig.backend.mouse().lightFrameCount(), 0u);

    rig.pad.open = false;
    ctx.pad.setLighting(lighting(3));
    again();
    runPadLighting(ctx, stop);
    EXPECT_EQ(rig.backend.pad().lightFrameCount(), 0u);
}

TEST_F(ThreadTest, UnknownMouseModeIsLoggedOnceAndSendsNothing) {
    ctx.mouse.setLighting(lighting(7));
    clock.setLimit(30);
    runMouseLighting(ctx, stop);
    EXPECT_EQ(rig.backend.mouse().lightFrameCount(), 0u);
    const auto lines = platform::debugLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string(kMouseUnknownMode)), 1);
}

TEST_F(ThreadTest, KeyboardModelNumberOtherThanZeroSendsNothing) {
    ctx.keyboard.setLighting(lighting(3, 0, false, {255, 1, 128}, 4));
    ctx.keyboardExtras.setModelNumber(15);
    clock.setLimit(20);
    runKeyboardLighting(ctx, stop);
    EXPECT_EQ(rig.backend.keyboard().lightFrameCount(), 0u);

    ctx.keyboardExtras.setModelNumber(0);
    ctx.keyboardExtras.setKeyPageSelected(true);
    again();
    runKeyboardLighting(ctx, stop);
    const auto frame = lastFrame(rig.backend.keyboard());
    ASSERT_EQ(frame.size(), 378u);
    EXPECT_EQ(frame[0], 255);
    EXPECT_EQ(frame[1], 1);
    EXPECT_EQ(frame[2], 128);
    EXPECT_EQ(frame[3 * 17], 0); // slot 17 belongs to no key
    EXPECT_FALSE(preview.led(LightDevice::Keyboard, 0).visible);
    EXPECT_EQ(preview.led(LightDevice::Keyboard, 0).alpha, 255);
}

TEST_F(ThreadTest, KeyPressesReachTheReactiveMode) {
    ctx.keyboard.setLighting(lighting(6, 0, false, {0, 255, 0}, 4));
    ctx.pressKey(0);
    clock.setLimit(6);
    runKeyboardLighting(ctx, stop);
    const auto frame = lastFrame(rig.backend.keyboard());
    ASSERT_EQ(frame.size(), 378u);
    EXPECT_GT(frame[1], 0); // key 0 (slot 0) green
    EXPECT_EQ(frame[4], 0); // key 1 dark
}

TEST_F(ThreadTest, SameModeDrivesAllThreeDevicesFromSyncLighting) {
    for (auto* link : {&rig.mouse, &rig.pad, &rig.keyboard}) link->syncLighting = true;
    ctx.sync.setLighting(lighting(3, 0, false, {10, 20, 30}, 4));
    clock.setLimit(10);
    runSharedLighting(ctx, stop);
    EXPECT_TRUE(platform::debugContains(kSharedThreadExit));

    const auto kb = lastFrame(rig.backend.keyboard());
    ASSERT_EQ(kb.size(), 378u);
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        const std::size_t slot = kKeyLedMap[key];
        if (slot == kNoKey || kKeyPlaces[key].column == kNoKey) continue;
        EXPECT_EQ(kb[3 * slot], 10) << "key " << key;
        EXPECT_EQ(kb[3 * slot + 2], 30) << "key " << key;
    }
    const auto mouse = lastFrame(rig.backend.mouse());
    ASSERT_EQ(mouse.size(), 60u);
    for (std::size_t i = 0; i < 20; ++i) EXPECT_EQ(mouse[3 * i + 1], 20) << "LED " << i;
    const auto pad = lastFrame(rig.backend.pad());
    ASSERT_EQ(pad.size(), 45u);
    for (std::size_t i = 0; i < 15; ++i) EXPECT_EQ(pad[3 * i + 2], 30) << "LED " << i;
    // Static at speed 0 still rests 20 ms a turn; then sends in the order keyboard, mouse, pad, a few
    // milliseconds apart.
    EXPECT_EQ(firstSleeps(3), (std::vector<Ms>{20ms, 3ms, 3ms}));

    // The device threads leave the devices alone meanwhile.
    const auto mouseFrames = rig.backend.mouse().lightFrameCount();
    ctx.mouse.setLighting(lighting(1));
    again();
    runMouseLighting(ctx, stop);
    EXPECT_EQ(rig.backend.mouse().lightFrameCount(), mouseFrames);
}

TEST_F(ThreadTest, SharedThreadOnlyServesFlaggedDevicesAndNeverSpins) {
    ctx.sync.setLighting(lighting(0, 0, true));
    clock.setLimit(5);
    runSharedLighting(ctx, stop);
    // Nobody in same mode: a wait for a link to change, no frames.
    EXPECT_EQ(clock.sleeps, (std::vector<Ms>(5, platform::Clock::kNoLimit)));
    EXPECT_EQ(rig.backend.pad().lightFrameCount(), 0u);

    rig.pad.syncLighting = true;
    again();
    clock.setLimit(6);
    runSharedLighting(ctx, stop);
    EXPECT_GT(rig.backend.pad().lightFrameCount(), 1u);
    EXPECT_EQ(rig.backend.mouse().lightFrameCount(), 0u);
    EXPECT_EQ(rig.backend.keyboard().lightFrameCount(), 0u);

    for (auto* link : {&rig.mouse, &rig.pad, &rig.keyboard}) link->open = false;
    again();
    clock.setLimit(2);
    runSharedLighting(ctx, stop);
    EXPECT_EQ(clock.sleeps.back(), platform::Clock::kNoLimit);
}

TEST_F(ThreadTest, TrafficSaverLeavesStaticFramesOut) {
    ctx.skipSame = true;
    ctx.pad.setLighting(lighting(3, 4)); // static, 25 ms a turn
    clock.setLimit(1 + 40);              // one second of turns
    runPadLighting(ctx, stop);
    // 39 turns (the 40th sleep ends the run): one frame, then one keep-alive every 250 ms.
    EXPECT_EQ(rig.backend.pad().lightFrameCount(), 4u);
    EXPECT_EQ(ctx.padSender.framesSkipped(), 35u);
}

// A clock whose sleeps last until the stop event is set: only a thread that sleeps on its stop event
// can end.
class StallingClock final : public platform::Clock {
public:
    TimePoint now() const override { return TimePoint{}; }
    void sleepFor(Duration) override {}
    bool sleepUnlessStopped(platform::Event& stop, Duration) override {
        return stop.wait(::zq::test::kWaitBound);
    }
};

TEST(LightingEngineTest, StopEndsEveryThreadPromptly) {
    test::SimRig rig;
    StallingClock clock;
    platform::clearDebugLines();
    LightingEngine engine(rig.mouse, rig.pad, rig.keyboard, clock);
    engine.start();
    EXPECT_TRUE(engine.running(LightThread::Shared));
    EXPECT_TRUE(engine.stop());
    for (auto exit : {kMouseThreadExit, kPadThreadExit, kKeyboardThreadExit, kSharedThreadExit})
        EXPECT_TRUE(platform::debugContains(exit)) << exit;
    EXPECT_FALSE(engine.running(LightThread::Mouse));
}

TEST(LightingEngineTest, ThreadsStreamWhileTheUiChangesSettings) {
    test::SimRig rig;
    platform::ManualClock clock;
    AtomicLightPreview preview;
    LightingEngine engine(rig.mouse, rig.pad, rig.keyboard, clock, &preview);
    engine.setSkipSame(false);
    engine.mouse().setLighting(lighting(6));
    engine.pad().setLighting(lighting(0));
    engine.keyboard().setLighting(lighting(5));
    engine.sync().setLighting(lighting(0));
    engine.start();

    // The UI side: settings, resets, clicks, key presses and same-mode switches while frames stream.
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    auto frames = [&](sim::SimDevice& d) { return d.lightFrameCount(); };
    int round = 0;
    while ((frames(rig.backend.mouse()) < 20 || frames(rig.backend.pad()) < 20 ||
            frames(rig.backend.keyboard()) < 20) &&
           std::chrono::steady_clock::now() < deadline) {
        ++round;
        engine.mouse().setLighting(lighting(round % 7, round % 5));
        engine.pad().setLighting(lighting(round % 10, round % 5));
        engine.keyboard().setLighting(lighting(round % 17, round % 5));
        if (round % 3 == 0) engine.mouse().resetEffectState();
        engine.click();
        engine.keyPressed(static_cast<std::size_t>(round % 126));
        rig.pad.syncLighting = round % 4 == 0;
        rig.pad.stateChanges.notify(); // as every change of the flag is told
        (void)preview.led(LightDevice::Keyboard, static_cast<std::size_t>(round % 126));
        std::this_thread::yield();
    }
    EXPECT_TRUE(engine.stop());
    EXPECT_GE(frames(rig.backend.mouse()), 20u);
    EXPECT_GE(frames(rig.backend.pad()), 20u);
    EXPECT_GE(frames(rig.backend.keyboard()), 20u);
    EXPECT_GT(preview.generation(LightDevice::Mouse), 0u);
}

} // namespace
} // namespace zq::lighting
