#include "settings/colour.h"
#include "settings/dpi_step_table.h"
#include "settings/host_mouse_rules.h"
#include "settings/mouse_settings_record.h"

#include <gtest/gtest.h>

namespace zq::settings {
namespace {

TEST(DpiStepTable, ShapeAndKnownSteps) {
    ASSERT_EQ(kDpiStepCodes.size(), 61u);
    for (std::size_t i = 1; i < kDpiStepCodes.size(); ++i)
        EXPECT_GT(kDpiStepCodes[i], kDpiStepCodes[i - 1]) << i;

    struct Case {
        int index, dpi;
        std::uint8_t code;
    };
    const Case cases[] = {{0, 200, 4},    {6, 800, 18},    {14, 1600, 36},  {22, 2400, 54},
                          {30, 3200, 72}, {45, 4700, 106}, {59, 6100, 138}, {60, 6200, 140}};
    for (const auto& c : cases) {
        EXPECT_EQ(dpiOfIndex(c.index), c.dpi) << c.index;
        EXPECT_EQ(codeOfIndex(c.index), c.code) << c.index;
        EXPECT_EQ(findIndexOfCode(c.code), c.index) << c.index;
        EXPECT_EQ(findIndexOfDpi(c.dpi), c.index) << c.index;
    }
}

TEST(DpiStepTable, OutOfRangeInputs) {
    EXPECT_EQ(codeOfIndex(-3), 4);
    EXPECT_EQ(codeOfIndex(61), 140);
    EXPECT_EQ(dpiOfIndex(99), 6200);
    EXPECT_EQ(findIndexOfDpi(250), std::nullopt);
    EXPECT_EQ(findIndexOfDpi(6300), std::nullopt);
    // A code the table lacks: no exact step; the slider stands at the nearest code (lower on a tie).
    EXPECT_EQ(findIndexOfCode(5), std::nullopt);
    EXPECT_EQ(sliderIndexOfCode(5), 0); // 4 and 6 tie
    EXPECT_EQ(sliderIndexOfCode(0), 0);
    EXPECT_EQ(sliderIndexOfCode(35), 14); // 36
    EXPECT_EQ(sliderIndexOfCode(255), 60);
}

TEST(MouseSettingsRecord, FieldOffsets) {
    MouseSettingsRecord r;
    r.setSlot(2);
    r.setLightMode(3);
    r.setBrightness(4);
    r.setLightSpeed(1);
    r.setDirection(1);
    r.setSevenColour(true);
    r.setLightColour({0x11, 0x22, 0x33});
    r.setEffectState(9);
    r.setReportRate(5);
    for (std::size_t level = 0; level < kDpiLevelCount; ++level) {
        r.setDpiCode(level, static_cast<std::uint8_t>(0x40 + level));
        r.setDpiColour(level, {static_cast<std::uint8_t>(level), 0xAA, 0xBB});
    }
    r.setDpiLevel(4);
    r.setTailWord(0x1234);
    r.setPointerSpeed(10);
    r.setWheelLines(3);

    const auto& b = r.bytes;
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[1], 3);
    EXPECT_EQ(b[2], 4);
    EXPECT_EQ(b[3], 1);
    EXPECT_EQ(b[4], 1);
    EXPECT_EQ(b[5], 1);
    EXPECT_EQ((std::array{b[6], b[7], b[8]}), (std::array<std::uint8_t, 3>{0x11, 0x22, 0x33}));
    EXPECT_EQ(b[9], 9);
    EXPECT_EQ(b[14], 5);
    // Levels 1-4 at 15-18, the current level at 19, level 5 at 20.
    EXPECT_EQ((std::array{b[15], b[16], b[17], b[18], b[19], b[20]}),
              (std::array<std::uint8_t, 6>{0x40, 0x41, 0x42, 0x43, 4, 0x44}));
    EXPECT_EQ((std::array{b[23], b[24], b[25]}), (std::array<std::uint8_t, 3>{0, 0xAA, 0xBB}));
    EXPECT_EQ((std::array{b[35], b[36], b[37]}), (std::array<std::uint8_t, 3>{4, 0xAA, 0xBB}));
    EXPECT_EQ(b[44], 0x34);
    EXPECT_EQ(b[45], 0x12);
    EXPECT_EQ(b[46], 10);
    EXPECT_EQ(b[47], 3);
    // Reserved bytes stay untouched.
    for (std::size_t i : {10u, 11u, 12u, 13u, 21u, 22u, 38u, 43u, 48u, 63u}) EXPECT_EQ(b[i], 0) << i;

    // The lighting view is bytes 1-8.
    const auto light = r.lighting();
    EXPECT_EQ(light.mode(), 3);
    EXPECT_EQ(light.colour(), (Rgb{0x11, 0x22, 0x33}));
}

TEST(MouseSettingsRecord, BlockRoundTripKeepsHostBytesAndTail) {
    MouseSettingsRecord r;
    r.bytes.fill(0xEE);
    MouseSettingsBlock block;
    block.setSlot(1);
    block.setDpiCode(4, 140);
    r.setBlock(block);
    EXPECT_EQ(r.block(), block);
    EXPECT_EQ(r.pointerSpeed(), 0xEE);
    EXPECT_EQ(r.bytes[63], 0xEE);

    const auto payload = mousePushPayload(block);
    EXPECT_EQ(payload.size(), 56u);
    EXPECT_EQ(payload[0], 1);
    EXPECT_EQ(payload[20], 140);
    for (std::size_t i = 46; i < 56; ++i) EXPECT_EQ(payload[i], 0) << i;
}

TEST(MouseSettingsRecord, DpiLevelHighlight) {
    const std::pair<std::uint8_t, int> cases[] = {{0, 0}, {4, 4}, {5, 5}, {6, 0}, {7, 0}, {255, 0}};
    for (auto [level, rank] : cases) EXPECT_EQ(highlightedDpiRank(level), rank) << int(level);
}

TEST(Colour, RoundTrips) {
    const std::pair<Rgb, std::uint32_t> cases[] = {{{0, 0, 0}, 0xFF000000},
                                                   {{255, 255, 255}, 0xFFFFFFFF},
                                                   {{0x12, 0x34, 0x56}, 0xFF123456},
                                                   {{255, 0, 0}, 0xFFFF0000},
                                                   {{0, 0, 1}, 0xFF000001}};
    for (auto [rgb, argb] : cases) {
        EXPECT_EQ(toArgb(rgb), argb);
        EXPECT_EQ(fromArgb(argb), rgb);
    }
    EXPECT_EQ(fromArgb(0x00ABCDEF), (Rgb{0xAB, 0xCD, 0xEF})); // alpha is not stored
    EXPECT_EQ(clampColourChannel(300), 255);
    EXPECT_EQ(clampColourChannel(-5), 0);
    EXPECT_EQ(clampColourChannel(17), 17);
}

TEST(HostMouseRules, PointerSpeedAndSlider) {
    EXPECT_EQ(pointerSpeedFromSlider(0), 2);
    EXPECT_EQ(pointerSpeedFromSlider(9), 20);
    EXPECT_EQ(pointerSpeedFromSlider(-4), 2);
    EXPECT_EQ(sliderFromPointerSpeed(20), 9);
    EXPECT_EQ(sliderFromPointerSpeed(7), 2);
    EXPECT_EQ(sliderFromPointerSpeed(1), 0);
    EXPECT_EQ(clampPointerSpeed(0), 1);
    EXPECT_EQ(clampPointerSpeed(22), 20);
    EXPECT_EQ(hostValueOrOne(0), 1);
}

TEST(HostMouseRules, WheelSteps) {
    struct Case {
        long value;
        int up, down, typed;
    };
    const Case cases[] = {
        {100, 100, 99, 100}, {1, 2, 1, 1}, {250, 100, 100, 100}, {0, 2, 1, 1}, {-7, 2, 1, 1}, {6, 7, 5, 6},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wheelStepUp(c.value), c.up) << c.value;
        EXPECT_EQ(wheelStepDown(c.value), c.down) << c.value;
        EXPECT_EQ(clampWheelLines(c.value), c.typed) << c.value;
    }
}

TEST(LightingSettings, SpeedSlider) {
    const std::pair<int, std::uint8_t> cases[] = {{4, 0}, {0, 4}, {3, 1}, {7, 0}};
    for (auto [position, speed] : cases) EXPECT_EQ(lightSpeedFromSlider(position), speed) << position;
    EXPECT_EQ(sliderFromLightSpeed(0), 4);
    EXPECT_EQ(sliderFromLightSpeed(1), 3);
    EXPECT_EQ(sliderFromLightSpeed(200), 0);
}

} // namespace
} // namespace zq::settings
