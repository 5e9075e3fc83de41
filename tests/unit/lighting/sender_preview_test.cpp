// The traffic saver, its setting, the lock-free preview and the settings hand-over.
#include "lighting/frame_sender.h"
#include "lighting/light_preview.h"
#include "lighting/lighting_source.h"
#include "unit/lighting/lighting_rig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace zq::lighting {
namespace {

using namespace std::chrono_literals;

struct SenderTest : ::testing::Test {
    test::SimRig rig;
    std::atomic<bool> skip{true};
    FrameSender sender{rig.pad, rig.simClock, skip};
    std::array<std::uint8_t, 45> a{}, b{};
    std::uint64_t frames() { return rig.backend.pad().lightFrameCount(); }
    void SetUp() override {
        a.fill(0x11);
        b.fill(0x22);
    }
};

TEST_F(SenderTest, SkipsRepeatsButKeepsAFrameEvery250Ms) {
    EXPECT_TRUE(sender.send(a));
    for (int turn = 1; turn <= 4; ++turn) { // turns 50 ms apart: the next one is still in time
        rig.simClock.advance(50ms);
        EXPECT_FALSE(sender.send(a)) << "turn " << turn;
    }
    rig.simClock.advance(50ms);
    EXPECT_TRUE(sender.send(a));                      // the keep-alive, 250 ms after the last frame
    EXPECT_TRUE(sender.send(b));                      // a change goes out at once
    EXPECT_TRUE(sender.send(std::span(b).first(15))); // same bytes, other length
    EXPECT_EQ(frames(), 4u);
    EXPECT_EQ(sender.framesSkipped(), 4u);
    const auto last = rig.backend.pad().lastLightFrame();
    EXPECT_TRUE(std::equal(last.begin(), last.begin() + 15, b.begin()));
}

TEST_F(SenderTest, NoGapPastTheKeepAliveWhateverTheTurnLength) {
    // Turn lengths of the static modes at the slow speeds (pad 25, keyboard 45, mouse 52 ms) and of
    // slower effects: a repeat goes out early rather than one turn too late.
    for (int turnMs : {25, 45, 52, 110, 130, 260}) {
        std::atomic<bool> on{true};
        FrameSender s{rig.pad, rig.simClock, on};
        auto lastFrame = rig.simClock.now();
        std::chrono::milliseconds widest{0};
        std::uint64_t sent = 0;
        for (int turn = 0; turn < 60; ++turn) {
            if (s.send(a)) {
                widest = std::max(widest, std::chrono::duration_cast<std::chrono::milliseconds>(
                                              rig.simClock.now() - lastFrame));
                lastFrame = rig.simClock.now();
                ++sent;
            }
            rig.simClock.advance(std::chrono::milliseconds(turnMs));
        }
        EXPECT_LE(widest, std::max(kKeepAlive, std::chrono::milliseconds(turnMs))) << turnMs << " ms turns";
        if (2 * turnMs <= kKeepAlive.count()) {
            EXPECT_LE(sent, 60u / 2) << turnMs << " ms turns"; // still leaving repeats out
        }
    }
}

TEST_F(SenderTest, WithSkippingOffEveryFrameGoesOut) {
    skip = false;
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(sender.send(a));
    EXPECT_EQ(frames(), 5u);
    EXPECT_EQ(sender.framesSkipped(), 0u);
}

TEST_F(SenderTest, AFrameTheDeviceMissedIsSentAgain) {
    rig.pad.open = false; // closed link: the command returns 0 at once
    EXPECT_TRUE(sender.send(a));
    rig.pad.open = true;
    EXPECT_TRUE(sender.send(a)); // not taken for shown the first time
    EXPECT_EQ(frames(), 1u);
    rig.backend.pad().setNoReply(true);
    EXPECT_TRUE(sender.send(b));
    rig.backend.pad().clearFaults();
    EXPECT_TRUE(sender.send(b));
}

TEST(SkipSameSetting, ReadFromMainIni) {
    const auto dir = std::filesystem::temp_directory_path() / ("zq_lighting_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto ini = dir / "main.ini";
    std::filesystem::remove(ini);
    EXPECT_TRUE(readSkipSameSetting(ini)); // no file: default "1"
    const std::pair<const char*, bool> cases[] = {
        {"[LIGHTING]\nSKIPSAME=0\n", false},
        {"[lighting]\nskipsame = 0\n", false},
        {"[LIGHTING]\nSKIPSAME=1\n", true},
        {"[LIGHTING]\nOTHER=0\n", true},
    };
    for (const auto& [text, want] : cases) {
        std::ofstream(ini) << text;
        EXPECT_EQ(readSkipSameSetting(ini), want) << text;
    }
    std::filesystem::remove_all(dir);
}

TEST(AtomicPreview, PublishesWholeLedsPerDevice) {
    AtomicLightPreview preview;
    EXPECT_EQ(preview.generation(LightDevice::Pad), 0u);
    std::array<PreviewLed, kKeyCount> keys{};
    keys[0] = {0xABCDEF, 200, true};
    keys[125] = {0x000001, 0, false};
    preview.publish(LightDevice::Keyboard, keys);
    EXPECT_EQ(preview.led(LightDevice::Keyboard, 0), keys[0]);
    EXPECT_EQ(preview.led(LightDevice::Keyboard, 125), keys[125]);
    EXPECT_EQ(preview.generation(LightDevice::Keyboard), 1u);
    EXPECT_EQ(preview.generation(LightDevice::Mouse), 0u);
    // Devices do not share LEDs, and an index past the device reads as not shown.
    EXPECT_EQ(preview.led(LightDevice::Mouse, 0), PreviewLed{});
    preview.publish(LightDevice::Pad, keys); // only the pad's 15 are taken
    EXPECT_EQ(preview.led(LightDevice::Pad, 0), keys[0]);
    EXPECT_EQ(preview.led(LightDevice::Pad, 15), PreviewLed{});
}

TEST(LightingSourceTest, WriteBackIsDroppedAfterAReset) {
    LightingSource src;
    std::array<std::uint8_t, 21> block{};
    block[1] = 3; // mode
    block[9] = 2; // effect_state
    src.setFromBlock(block);
    auto snap = src.snapshot();
    EXPECT_EQ(snap.lighting.mode(), 3);
    EXPECT_EQ(snap.effectState, 2);
    src.storeEffectState(1, snap.resetGeneration);
    EXPECT_EQ(src.effectState(), 1);
    src.resetEffectState(); // the UI chose a mode meanwhile
    EXPECT_EQ(src.effectState(), 0);
    src.storeEffectState(2, snap.resetGeneration); // computed before the reset
    EXPECT_EQ(src.effectState(), 0);
    EXPECT_NE(src.snapshot().resetGeneration, snap.resetGeneration);
}

} // namespace
} // namespace zq::lighting
