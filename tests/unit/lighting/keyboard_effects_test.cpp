// Keyboard effects and the sender: the frame packing rules, each mode's visible behaviour, and that the
// seventeen modes are told apart.
#include "lighting/keyboard_effects.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace zq::lighting {
namespace {

using settings::LightingSettings;

LightingSettings lighting(int mode, int brightness = 4, bool seven = true, int direction = 1,
                          Rgb colour = {200, 100, 50}) {
    LightingSettings s;
    s.setMode(static_cast<std::uint8_t>(mode));
    s.setBrightness(static_cast<std::uint8_t>(brightness));
    s.setDirection(static_cast<std::uint8_t>(direction));
    s.setSevenColour(seven);
    s.setColour(colour);
    return s;
}

struct Keyboard {
    std::array<std::uint8_t, kKeyboardFrameSize> customMap{};
    KeyboardEffectState state;
    KeyLightState keys{};
    KeyboardFrame frame;

    bool turn(const LightingSettings& s, KeyPresses pressed = {}, bool keyPage = false) {
        const bool send = renderKeyboard({s, customMap, pressed}, state, keys);
        packKeyboardFrame(keys, keyPage, frame);
        return send;
    }
    Rgb sent(std::size_t key) const {
        const std::size_t m = kKeyLedMap[key];
        return {frame.bytes[3 * m], frame.bytes[3 * m + 1], frame.bytes[3 * m + 2]};
    }
    std::size_t litKeys() const {
        std::size_t n = 0;
        for (const auto& k : keys) n += k.level > 0 && (k.r | k.g | k.b) != 0;
        return n;
    }
};

KeyPresses press(std::initializer_list<std::size_t> keys) {
    KeyPresses p;
    for (auto k : keys) p.set(k);
    return p;
}

TEST(KeyboardSender, PacksScaledColoursAtLedSlots) {
    KeyLightState keys{};
    keys[13] = {200, 100, 50, 255};  // LED slot 14
    keys[16] = {255, 255, 255, 255}; // no LED
    keys[119] = {10, 20, 30, 127};   // LED slot 62
    KeyboardFrame f;
    packKeyboardFrame(keys, false, f);
    EXPECT_EQ(f.bytes[42], 200);
    EXPECT_EQ(f.bytes[43], 100);
    EXPECT_EQ(f.bytes[44], 50);
    EXPECT_EQ(f.bytes[186], (10 * 128) >> 8);
    EXPECT_EQ(f.bytes[188], (30 * 128) >> 8);
    // Key 16 has no LED: painted on the preview, never sent.
    EXPECT_EQ(f.preview[16], (PreviewLed{packPreviewColour({255, 255, 255}), 255, true}));
    std::size_t nonZero = 0;
    for (auto b : f.bytes) nonZero += b != 0;
    EXPECT_EQ(nonZero, 6u);
    EXPECT_EQ(f.preview[13].colour, (100u << 16) | (50u << 8) | 200u); // (g << 16) | (b << 8) | r
}

TEST(KeyboardSender, KeyPageHidesThePreviewButFramesStillGo) {
    Keyboard kb;
    kb.turn(lighting(3), {}, true);
    for (const auto& led : kb.frame.preview) EXPECT_FALSE(led.visible);
    EXPECT_EQ(kb.sent(0), (Rgb{200, 100, 50}));
}

TEST(KeyboardEffects, StaticAtFullBrightnessSendsTheColourUnchanged) {
    Keyboard kb;
    ASSERT_TRUE(kb.turn(lighting(3, 4, false, 1, {255, 1, 128})));
    for (std::size_t key = 0; key < kKeyCount; ++key)
        if (kKeyLedMap[key] != kNoKey) {
            EXPECT_EQ(kb.sent(key), (Rgb{255, 1, 128})) << "key " << key;
        }
    ASSERT_TRUE(kb.turn(lighting(3, 0, false, 1, {255, 255, 255})));
    EXPECT_EQ(kb.sent(0), (Rgb{}));
}

TEST(KeyboardEffects, ColumnWaveKeepsColumnsTogether) {
    Keyboard kb;
    kb.turn(lighting(0, 4, true));
    for (const auto& column : kKeyColumns) {
        std::set<std::uint32_t> colours;
        for (auto key : column)
            if (key != kNoKey)
                colours.insert(packPreviewColour({kb.keys[key].r, kb.keys[key].g, kb.keys[key].b}));
        EXPECT_EQ(colours.size(), 1u);
    }
    EXPECT_EQ(kb.sent(0), kColourWheel[1 + 7 * 2]); // key 0 is in column 2, phase stepped to 1
}

TEST(KeyboardEffects, CustomTakesTheMapAtTheLedSlot) {
    Keyboard kb;
    kb.customMap[3 * 14] = 9; // slot 14 = key 13
    kb.customMap[3 * 14 + 2] = 7;
    kb.turn(lighting(8));
    EXPECT_EQ(kb.sent(13), (Rgb{9, 0, 7}));
    EXPECT_EQ(kb.keys[12].level, 255);
}

TEST(KeyboardEffects, ReactiveModesAnswerKeyPresses) {
    // Mode 5 spreads from the pressed key, mode 6 lights the pressed key alone, mode 15 lights it over a
    // dim glow of the whole keyboard.
    Keyboard ripple, single, glow;
    ripple.turn(lighting(5));
    EXPECT_EQ(ripple.litKeys(), 0u);
    ripple.turn(lighting(5), press({73}));
    EXPECT_GT(ripple.keys[73].level, 0);
    EXPECT_EQ(ripple.keys[74].level, 0);
    ripple.turn(lighting(5));
    EXPECT_GT(ripple.keys[74].level, 0); // one ring further
    for (int t = 0; t < 60; ++t) ripple.turn(lighting(5));
    EXPECT_EQ(ripple.litKeys(), 0u); // all decayed

    single.turn(lighting(6), press({73}));
    single.turn(lighting(6));
    single.turn(lighting(6));
    EXPECT_GT(single.keys[73].level, 0);
    EXPECT_EQ(single.litKeys(), 1u);

    glow.turn(lighting(15, 4, false));
    const auto bed = glow.keys[0].level;
    EXPECT_GT(bed, 0);
    glow.turn(lighting(15, 4, false), press({0}));
    EXPECT_GT(glow.keys[0].level, bed);
    for (int t = 0; t < 40; ++t) glow.turn(lighting(15, 4, false));
    EXPECT_EQ(glow.keys[0].level, bed);
}

TEST(KeyboardEffects, EveryModeLightsTheKeyboardItsOwnWay) {
    // Eight turns of every mode (with a few key presses for the reactive ones) give seventeen different
    // frame sequences, each of which lights some keys.
    std::set<std::string> sequences; // as text: GCC 12 at -O3 misreads the comparison of byte vectors
    for (int mode = 0; mode < 17; ++mode) {
        Keyboard kb;
        for (std::size_t i = 0; i < kb.customMap.size(); ++i)
            kb.customMap[i] = static_cast<std::uint8_t>(i * 7);
        resetKeyboardState(kb.state, static_cast<std::uint8_t>(mode));
        std::vector<std::uint8_t> seq;
        std::size_t lit = 0;
        for (int t = 0; t < 8; ++t) {
            ASSERT_TRUE(kb.turn(lighting(mode), t % 3 == 0 ? press({30, 73, 110}) : KeyPresses{}));
            seq.insert(seq.end(), kb.frame.bytes.begin(), kb.frame.bytes.end());
            lit = std::max(lit, kb.litKeys());
        }
        EXPECT_GT(lit, 0u) << "mode " << mode;
        sequences.emplace(seq.begin(), seq.end());
    }
    EXPECT_EQ(sequences.size(), 17u);
    Keyboard kb;
    EXPECT_FALSE(kb.turn(lighting(17)));
}

TEST(KeyboardEffects, TwinkleLightsThreeNewKeysATurn) {
    Keyboard kb;
    resetKeyboardState(kb.state, 9);
    kb.turn(lighting(9));
    EXPECT_EQ(kb.litKeys(), 3u);
    kb.turn(lighting(9));
    EXPECT_EQ(kb.litKeys(), 6u);
    // Over a round of the scrambled order every snake key has its turn.
    std::set<std::size_t> seen;
    for (int t = 0; t < 40; ++t) {
        kb.turn(lighting(9));
        for (std::size_t key = 0; key < kKeyCount; ++key)
            if (kb.state.keyFade[key] == 255 - 12) seen.insert(key);
    }
    EXPECT_EQ(seen.size(), kSnakeLength);
}

TEST(KeyboardEffects, DelaysAndPauses) {
    EXPECT_EQ(keyboardTurnDelay(0, 0).count(), 2);
    EXPECT_EQ(keyboardTurnDelay(12, 0).count(), 3);
    EXPECT_EQ(keyboardTurnDelay(5, 4).count(), 45);
    EXPECT_EQ(keyboardTurnDelay(99, 99).count(), kKeyDelay.back());
    EXPECT_EQ(keyboardEffectPause(5).count(), 40);
    EXPECT_EQ(keyboardEffectPause(15).count(), 50);
    EXPECT_EQ(keyboardEffectPause(3).count(), 0);
}

TEST(KeyboardEffects, FrameCountersAdvanceEveryTurn) {
    Keyboard kb;
    for (int t = 0; t < 4; ++t) kb.turn(lighting(3));
    EXPECT_EQ(kb.state.frameCounter, 4u);
    EXPECT_EQ(kb.state.slowCounter, 2u);
}

} // namespace
} // namespace zq::lighting
