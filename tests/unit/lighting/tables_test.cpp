// The constant tables: sizes, the entries the rules name, and the shapes they are built to have.
#include "lighting/colour_tables.h"
#include "lighting/key_tables.h"
#include "lighting/keyboard_effects.h"
#include "lighting/led_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace zq::lighting {
namespace {

TEST(LightingTables, BrightnessAndWheel) {
    EXPECT_EQ(kBrightnessCurve, (std::array<std::uint8_t, 5>{0, 97, 149, 201, 255}));
    ASSERT_EQ(kColourWheel.size(), 192u);
    // The segment starts, and the ramps where they meet.
    EXPECT_EQ(kColourWheel[0], (Rgb{255, 1, 0}));
    EXPECT_EQ(kColourWheel[31], (Rgb{255, 255, 0}));
    EXPECT_EQ(kColourWheel[32], (Rgb{248, 255, 0}));
    EXPECT_EQ(kColourWheel[63], (Rgb{0, 255, 0}));
    EXPECT_EQ(kColourWheel[64], (Rgb{0, 255, 1}));
    EXPECT_EQ(kColourWheel[96], (Rgb{0, 248, 255}));
    EXPECT_EQ(kColourWheel[128], (Rgb{1, 0, 255}));
    EXPECT_EQ(kColourWheel[180], (Rgb{255, 0, 41}));
    EXPECT_EQ(kColourWheel[191], (Rgb{255, 0, 0}));
    // Every entry has one channel at full and one at nothing: a pure hue.
    for (const Rgb& c : kColourWheel) {
        const std::array<int, 3> ch{c.r, c.g, c.b};
        EXPECT_EQ(*std::max_element(ch.begin(), ch.end()), 255);
        EXPECT_EQ(*std::min_element(ch.begin(), ch.end()), 0);
    }
}

TEST(LightingTables, BreathCurvesAreSymmetric) {
    ASSERT_EQ(kBreath96.size(), 96u);
    ASSERT_EQ(kBreath128.size(), 128u);
    EXPECT_EQ(kBreath96[0], 22);
    EXPECT_EQ(kBreath96[47], 255);
    EXPECT_EQ(kBreath96[48], 255);
    EXPECT_EQ(kBreath96[95], 22);
    for (std::size_t i = 0; i < 96; ++i) EXPECT_EQ(kBreath96[i], kBreath96[95 - i]);
    EXPECT_EQ(kBreath128[0], 0);
    EXPECT_EQ(kBreath128[10], 10);
    EXPECT_EQ(kBreath128[11], 12);
    EXPECT_EQ(kBreath128[15], 20);
    EXPECT_EQ(kBreath128[16], 22);
    EXPECT_EQ(kBreath128[63], 255);
    EXPECT_EQ(kBreath128[127], 0);
    for (std::size_t i = 0; i < 128; ++i) EXPECT_EQ(kBreath128[i], kBreath128[127 - i]);
}

TEST(LightingTables, FlashCurveRisesThenFallsToNothing) {
    EXPECT_EQ(kFlashCurve[0], 0);
    EXPECT_EQ(kFlashCurve[16], 255);
    EXPECT_EQ(kFlashPeak, 16u);
    EXPECT_EQ(kFlashCurve[17], 248);
    EXPECT_EQ(kFlashCurve[18], 241);
    EXPECT_EQ(kFlashCurve.back(), 0);
    EXPECT_TRUE(std::is_sorted(kFlashCurve.begin(), kFlashCurve.begin() + 17));
    EXPECT_TRUE(std::is_sorted(kFlashCurve.begin() + 16, kFlashCurve.end(), std::greater<>()));
}

TEST(LightingTables, MouseGroupsAndGradients) {
    // 21 places over the 20 preview LEDs: every LED once, LED 9 twice (group 2).
    std::array<int, kMouseLeds> seen{};
    for (const auto& g : kLedGroups)
        for (auto led : g) ++seen[led];
    for (std::size_t i = 0; i < kMouseLeds; ++i) EXPECT_EQ(seen[i], i == 9 ? 2 : 1) << "LED " << i;
    EXPECT_EQ(kLedGroups[3], (std::array<std::uint8_t, 3>{3, 10, 14}));
    EXPECT_EQ(kGradientSets[0][0], (Rgb{255, 255, 0}));
    EXPECT_EQ(kGradientSets[1][6], (Rgb{0, 70, 255}));
    EXPECT_EQ(kGradientSets[2][3], (Rgb{245, 0, 140}));
}

TEST(LightingTables, PadGroupsAndDelays) {
    std::multiset<int> leds;
    for (const auto& g : kPadGroups)
        for (auto led : g)
            if (led != kNoLed) leds.insert(led);
    EXPECT_EQ(leds.size(), 15u);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(leds.count(i), 1u);
    EXPECT_EQ(kPadGroups[3][0], kNoLed); // the empty group
    ASSERT_EQ(kPadDelay.size(), 150u);
    for (std::size_t mode = 0; mode < 9; ++mode)
        for (std::size_t speed = 0; speed < 5; ++speed)
            EXPECT_EQ(kPadDelay[speed + 15 * mode], 9 + 4 * speed) << mode << "/" << speed;
    EXPECT_EQ(kPadDelay[135], 0);
    EXPECT_EQ(kPadDelay[136], 9);
    EXPECT_EQ(kPadDelay[139], 21);
}

TEST(LightingTables, KeyLedMap) {
    ASSERT_EQ(kKeyLedMap.size(), 126u);
    EXPECT_EQ(kKeyLedMap[12], 12);
    EXPECT_EQ(kKeyLedMap[13], 14);
    EXPECT_EQ(kKeyLedMap[16], kNoKey);
    EXPECT_EQ(kKeyLedMap[62], kNoKey);
    EXPECT_EQ(kKeyLedMap[118], 104);
    EXPECT_EQ(kKeyLedMap[119], 62);
    // No two keys share an LED slot.
    std::set<int> slots;
    for (auto s : kKeyLedMap)
        if (s != kNoKey) {
            EXPECT_TRUE(slots.insert(s).second) << "slot " << int(s);
        }
    EXPECT_EQ(slots.size(), 104u);
}

TEST(LightingTables, KeyColumnsAndSnakeCoverTheLitKeys) {
    std::set<int> inColumns;
    for (const auto& col : kKeyColumns)
        for (auto k : col)
            if (k != kNoKey) {
                EXPECT_TRUE(inColumns.insert(k).second) << "key " << int(k);
            }
    EXPECT_EQ(kKeyColumns[1], (std::array<std::uint8_t, 6>{126, 21, 42, 63, 84, 106}));
    EXPECT_EQ(kKeyPlaces[73].column, 11);
    EXPECT_EQ(kKeyPlaces[73].row, 3);
    EXPECT_EQ(kKeyPlaces[16].column, kNoKey);

    ASSERT_EQ(kKeySnake.size(), 104u);
    EXPECT_EQ(kKeySnake[0], 15);
    EXPECT_EQ(kKeySnake[15], 0);
    EXPECT_EQ(kKeySnake[16], 21);
    EXPECT_EQ(kKeySnake[20], 105);
    EXPECT_EQ(kKeySnake[34], 119);
    EXPECT_EQ(kKeySnake[35], 41);
    EXPECT_EQ(kKeySnake.back(), 77);
    std::set<int> snake(kKeySnake.begin(), kKeySnake.end());
    EXPECT_EQ(snake.size(), 104u);
    // Every key of the snake has an LED, so the snake modes never light an unsent key.
    for (auto k : kKeySnake) EXPECT_NE(kKeyLedMap[k], kNoKey) << "key " << int(k);
}

TEST(LightingTables, KeyDelay) {
    ASSERT_EQ(kKeyDelay.size(), 17u * 15u);
    for (std::size_t mode = 0; mode < 17; ++mode) {
        EXPECT_EQ(kKeyDelay[1 + 15 * mode], 13);
        EXPECT_EQ(kKeyDelay[2 + 15 * mode], 27);
        EXPECT_EQ(kKeyDelay[3 + 15 * mode], 37);
        EXPECT_EQ(kKeyDelay[4 + 15 * mode], 45);
        const int fast = mode == 0 ? 2 : (mode == 4 || mode == 7 || mode == 12) ? 3 : 9;
        EXPECT_EQ(kKeyDelay[15 * mode], fast) << "mode " << mode;
    }
    EXPECT_EQ(kKeyPalette.size(), 7u);
}

} // namespace
} // namespace zq::lighting
