// Mouse and pad effects: golden frames for the first turns of every mode, and the rules the frames
// must keep (scaling, the DPI indicator, the flash length, the counters).
#include "lighting/mouse_effects.h"
#include "lighting/pad_effects.h"
#include "lighting/shared_effects.h"
#include "platform/debug.h"

#include <gtest/gtest.h>

#include <string>

namespace zq::lighting {
namespace {

using namespace std::chrono_literals;
using settings::LightingSettings;

const platform::Clock::TimePoint kT0 = platform::Clock::TimePoint{} + std::chrono::hours(1);

LightingSettings lighting(int mode, int brightness = 3, bool seven = false, int direction = 1,
                          Rgb colour = {200, 100, 50}) {
    LightingSettings s;
    s.setMode(static_cast<std::uint8_t>(mode));
    s.setBrightness(static_cast<std::uint8_t>(brightness));
    s.setSpeed(2);
    s.setDirection(static_cast<std::uint8_t>(direction));
    s.setSevenColour(seven);
    s.setColour(colour);
    return s;
}

std::string hex(const LedFrame& f) {
    static const char* digits = "0123456789abcdef";
    std::string s;
    for (std::size_t i = 0; i < f.length; ++i) {
        s += digits[f.bytes[i] >> 4];
        s += digits[f.bytes[i] & 15];
    }
    return s;
}

Rgb sentAt(const LedFrame& f, std::size_t led) {
    return {f.bytes[3 * led], f.bytes[3 * led + 1], f.bytes[3 * led + 2]};
}

struct Golden {
    LightDevice device;
    int mode;
    bool seven;
    std::array<const char*, 3> turns;
};

// Colour (200, 100, 50), brightness 3 (k = 202), direction 1, DPI level 3; a click before the first turn,
// turns 60 ms apart. Checked by hand against the rules: e.g. static 200 x 202 >> 8 = 0x9d; wave turn 1
// uses wheel entries 1, 16, 31, 46 on LEDs 0-3; the bar lights groups 2-6 once the counter is 1; the
// flash still shows on the turn 120 ms after the click; the marquee's first shift lights LEDs 7-12.
// clang-format off
const Golden kGoldens[] = {
    {LightDevice::Mouse, 0, false, {"0e07033d1e0e83412068341aff00ff", "10070340200f874321653219ff00ff", "1209044321108c4622613018ff00ff"}},
    {LightDevice::Mouse, 0, true, {"c90200c93f00c9c90043c900ff00ff", "c90300c94600c3c9003cc900ff00ff", "c90500c94e00b8c90036c900ff00ff"}},
    {LightDevice::Mouse, 1, false, {"9d4e279d4e279d4e279d4e27ff00ff", "9d4e279d4e279d4e279d4e27ff00ff", "9d4e279d4e279d4e279d4e27ff00ff"}},
    {LightDevice::Mouse, 1, true, {"9d4e279d4e279d4e279d4e27ff00ff", "9d4e279d4e279d4e279d4e27ff00ff", "9d4e279d4e279d4e279d4e27ff00ff"}},
    {LightDevice::Mouse, 2, false, {"000000000000000000000000ff00ff", "010000010000010000010000ff00ff", "020000020000020000020000ff00ff"}},
    {LightDevice::Mouse, 2, true, {"000000000000000000000000ff00ff", "010100010100000100000100ff00ff", "020200020200010200010200ff00ff"}},
    {LightDevice::Mouse, 3, false, {"000000000000000000000000ff00ff", "010000010000010000010000ff00ff", "020000020000020000020000ff00ff"}},
    {LightDevice::Mouse, 3, true, {"000000000000000000000000ff00ff", "010100010100000100000100ff00ff", "020200020200010200010200ff00ff"}},
    {LightDevice::Mouse, 4, false, {"0000000000009d4e279d4e27ff00ff", "0000000000000000009d4e27ff00ff", "000000000000000000000000ff00ff"}},
    {LightDevice::Mouse, 4, true, {"000000000000c93900c96e00ff00ff", "000000000000000000c97700ff00ff", "000000000000000000000000ff00ff"}},
    {LightDevice::Mouse, 5, false, {"000000000000000000000000ff00ff", "000000000000000000000000ff00ff", "000000000000000000000000ff00ff"}},
    {LightDevice::Mouse, 5, true, {"000000000000000000000000ff00ff", "000000000000000000000000ff00ff", "000000000000000000000000ff00ff"}},
    {LightDevice::Mouse, 6, false, {"9d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27000000000000000000000000000000", "9d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27000000000000000000000000000000", "9d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27000000000000000000000000000000"}},
    {LightDevice::Mouse, 6, true, {"c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300000000000000000000000000000000", "c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300000000000000000000000000000000", "c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300000000000000000000000000000000"}},
    {LightDevice::Pad, 0, false, {"0e07032311083d1e0e5d2e1683412090472368341a4622112a150a160b052c160b4924126c361a954a257f3f1f", "10070325120940200f6130188743218c4622653219432110281309180b052f170b4c251270381b994c257b3d1e", "1209042813094321106532198c462287432161301840200f2512091a0c0632190c4f271373391c9d4e27773b1d"}},
    {LightDevice::Pad, 0, true, {"c90200c91400c93900c96e00c9b30099c90059c90029c9000cc90000c90000c91100c93300c96500c9a800a2c9", "c90300c91900c93f00c97700c9be008fc90052c90025c90009c90000c90200c91400c93900c96e00c9b30099c9", "c90500c91d00c94600c98100c9c90086c9004ac90020c90006c90000c90300c91900c93f00c97700c9be008fc9"}},
    {LightDevice::Pad, 1, false, {"c90200c90200c90200c90200c90200c90200c90200c90200c90200c90200c90200c90200c90200c90200c90200", "c90300c90300c90300c90300c90300c90300c90300c90300c90300c90300c90300c90300c90300c90300c90300", "c90500c90500c90500c90500c90500c90500c90500c90500c90500c90500c90500c90500c90500c90500c90500"}},
    {LightDevice::Pad, 1, true, {"c90200c90200c90200c90200c90200c90200c90200c90200c90200c90200c90200c90200c90200c90200c90200", "c90300c90300c90300c90300c90300c90300c90300c90300c90300c90300c90300c90300c90300c90300c90300", "c90500c90500c90500c90500c90500c90500c90500c90500c90500c90500c90500c90500c90500c90500c90500"}},
    {LightDevice::Pad, 2, false, {"000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000", "010000010000010000010000010000010000010000010000010000010000010000010000010000010000010000000000000000000000000000000000", "020000020000020000020000020000020000020000020000020000020000020000020000020000020000020000000000000000000000000000000000"}},
    {LightDevice::Pad, 2, true, {"000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000", "010000010000010000010000010000010000010000010000010000010000010000010000010000010000010000000000000000000000000000000000", "020000020000020000020000020000020000020000020000020000020000020000020000020000020000020000000000000000000000000000000000"}},
    {LightDevice::Pad, 3, false, {"9d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27000000000000000000000000000000", "9d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27000000000000000000000000000000", "9d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27000000000000000000000000000000"}},
    {LightDevice::Pad, 3, true, {"9d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27000000000000000000000000000000", "9d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27000000000000000000000000000000", "9d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27000000000000000000000000000000"}},
    {LightDevice::Pad, 4, false, {"0000000000009d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27", "0000000000000000009d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27", "0000000000000000000000009d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27"}},
    {LightDevice::Pad, 4, true, {"000000000000c93300c96500c9a800a2c90061c90030c9000fc90000c90000c90e00c92c00c95d00c99d00adc9", "000000000000000000c96500c9a800a2c90061c90030c9000fc90000c90000c90e00c92c00c95d00c99d00adc9", "000000000000000000000000c9a800a2c90061c90030c9000fc90000c90000c90e00c92c00c95d00c99d00adc9"}},
    {LightDevice::Pad, 5, false, {"000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000", "010000000000000000000000000000000000000000000000000000000000000000000000000000000000000000", "020000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"}},
    {LightDevice::Pad, 5, true, {"000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000", "010000000000000000000000000000000000000000000000000000000000000000000000000000000000000000", "030000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"}},
    {LightDevice::Pad, 6, false, {"c90200c91400c93900c9b30099c90099c90059c90059c90059c90059c90059c90099c900c9b300c93900c91400", "c90300c91900c93f00c9be008fc9008fc90052c90052c90052c90052c90052c9008fc900c9be00c93f00c91900", "c90500c91d00c94600c9c90086c90086c9004ac9004ac9004ac9004ac9004ac90086c900c9c900c94600c91d00"}},
    {LightDevice::Pad, 6, true, {"c90200c91400c93900c9b30099c90099c90059c90059c90059c90059c90059c90099c900c9b300c93900c91400", "c90300c91900c93f00c9be008fc9008fc90052c90052c90052c90052c90052c9008fc900c9be00c93f00c91900", "c90500c91d00c94600c9c90086c90086c9004ac9004ac9004ac9004ac9004ac90086c900c9c900c94600c91d00"}},
    {LightDevice::Pad, 7, false, {"0000000000000000000000000000000000000000009d4e279d4e279d4e279d4e279d4e279d4e27000000000000", "0000000000000000000000000000000000009d4e279d4e279d4e279d4e279d4e279d4e27000000000000000000", "0000000000000000000000000000009d4e279d4e279d4e279d4e279d4e279d4e27000000000000000000000000"}},
    {LightDevice::Pad, 7, true, {"0000000000000000000000000000000000000000002c00c9c900b8c9001bc91900c9b30030c900000000000000", "0000000000000000000000000000000000000009c93300c9c900adc90016c91d00c9be00000000000000000000", "000000000000000000000000000000007cc90006c93900c9c900a2c90012c92200000000000000000000000000"}},
    {LightDevice::Pad, 8, false, {"9d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27000000000000000000000000000000", "9d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27000000000000000000000000000000", "9d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e279d4e27000000000000000000000000000000"}},
    {LightDevice::Pad, 8, true, {"c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300000000000000000000000000000000", "c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300000000000000000000000000000000", "c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300c93300000000000000000000000000000000"}},
};
// clang-format on

TEST(MousePadEffects, GoldenFrames) {
    for (const auto& g : kGoldens) {
        const auto s = lighting(g.mode, 3, g.seven);
        MouseEffectState ms;
        PadEffectState ps;
        LedFrame f;
        auto now = kT0;
        for (std::size_t t = 0; t < 3; ++t) {
            if (g.device == LightDevice::Mouse)
                renderMouse({s, 3, t == 0, now}, ms, f);
            else
                renderPad({s, t == 0, now}, ps, f);
            now += 60ms;
            EXPECT_EQ(hex(f), g.turns[t]) << (g.device == LightDevice::Mouse ? "mouse" : "pad") << " mode "
                                          << g.mode << " seven " << g.seven << " turn " << t;
        }
    }
}

TEST(MouseEffects, BrightnessZeroSendsZerosWithAlphaZero) {
    for (int mode : {0, 1, 2, 4}) {
        MouseEffectState st;
        LedFrame f;
        renderMouse({lighting(mode, 0, true, 1, {255, 255, 255}), 9, false, kT0}, st, f);
        for (std::size_t i = 0; i < 15; ++i) EXPECT_EQ(f.bytes[i], 0) << "mode " << mode << " byte " << i;
        for (const auto& led : f.preview) EXPECT_EQ(led.alpha, 0) << "mode " << mode;
    }
}

TEST(MouseEffects, WaveAtPhase180UsesEveryFifteenthWheelEntry) {
    MouseEffectState st;
    st.wheelPhase = 179; // stepped to 180 by this turn
    LedFrame f;
    renderMouse({lighting(0, 4, true), 9, false, kT0}, st, f);
    EXPECT_EQ(st.wheelPhase, 180);
    const std::array<int, 7> entries{180, 3, 18, 33, 48, 63, 78};
    for (std::size_t g = 0; g < 7; ++g)
        for (auto led : kLedGroups[g]) {
            EXPECT_EQ(f.preview[led].colour, packPreviewColour(kColourWheel[entries[g]])) << "group " << g;
            EXPECT_EQ(f.preview[led].alpha, 255);
        }
    // At brightness 4 the wheel colour goes out unchanged (k = 256).
    EXPECT_EQ(sentAt(f, 0), kColourWheel[180]);
    EXPECT_EQ(sentAt(f, 1), kColourWheel[3]);
}

TEST(MouseEffects, DpiIndicator) {
    struct Case {
        int level;
        int brightness;
        Rgb led4;
    };
    const Rgb staticAtFull{200, 100, 50};
    const Case cases[] = {
        {0, 4, {255, 0, 0}},
        {1, 0, {0, 255, 0}},
        {2, 2, {0, 0, 255}},
        {3, 0, {255, 0, 255}},
        {3, 4, {255, 0, 255}},
        {4, 1, {255, 255, 0}},
        {9, 4, staticAtFull}, // no indicator: the effect's own
                              // colour stays
        {5, 0, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        MouseEffectState st;
        LedFrame f;
        renderMouse({lighting(1, c.brightness), static_cast<std::uint8_t>(c.level), false, kT0}, st, f);
        EXPECT_EQ(f.length, 15u);
        EXPECT_EQ(sentAt(f, 4), c.led4) << "level " << c.level << " brightness " << c.brightness;
    }
}

TEST(MouseEffects, ReactiveWithoutClickSendsSixtyZeroBytes) {
    MouseEffectState st;
    LedFrame f;
    for (int turn = 0; turn < 3; ++turn) {
        renderMouse({lighting(6, 4), 0, false, kT0 + turn * 10ms}, st, f);
        ASSERT_EQ(f.length, 60u);
        for (std::size_t i = 0; i < 60; ++i) EXPECT_EQ(f.bytes[i], 0);
        for (const auto& led : f.preview) EXPECT_FALSE(led.visible);
    }
}

TEST(MouseEffects, FlashLastsUntilATurnFindsMoreThan99Ms) {
    MouseEffectState st;
    LedFrame f;
    const auto s = lighting(6, 4, true);
    renderMouse({s, 0, true, kT0}, st, f);
    EXPECT_EQ(st.flash.position, 14);
    EXPECT_EQ(sentAt(f, 14), kColourWheel[14]);
    EXPECT_EQ(sentAt(f, 15), (Rgb{}));
    renderMouse({s, 0, false, kT0 + 99ms}, st, f);
    EXPECT_EQ(sentAt(f, 0), kColourWheel[14]);
    renderMouse({s, 0, false, kT0 + 100ms}, st, f); // finds the flash over, still shows it
    EXPECT_EQ(sentAt(f, 0), kColourWheel[14]);
    renderMouse({s, 0, false, kT0 + 110ms}, st, f);
    EXPECT_EQ(sentAt(f, 0), (Rgb{}));
    // Positions advance by 14 and start over past 191.
    st.flash.position = 182;
    renderMouse({s, 0, true, kT0 + 200ms}, st, f);
    EXPECT_EQ(st.flash.position, 0);
}

TEST(MouseEffects, GradientBreathAdvancesTheSetEachTimeThePhaseIsZero) {
    MouseEffectState st;
    LedFrame f;
    const auto s = lighting(3, 4, true);
    st.breathPhase = 126;
    renderMouse({s, 9, false, kT0}, st, f);
    EXPECT_EQ(st.setCounter, 0);
    renderMouse({s, 9, false, kT0}, st, f); // phase 127 -> 0
    EXPECT_EQ(st.breathPhase, 0);
    EXPECT_EQ(st.setCounter, 1);
    EXPECT_EQ(f.preview[0].colour, packPreviewColour(kGradientSets[1][0]));
    st.breathPhase = 127;
    st.setCounter = 2;
    renderMouse({s, 9, false, kT0}, st, f);
    EXPECT_EQ(st.setCounter, 0);
    // A stray effect_state byte from a file never indexes past the sets.
    st.setCounter = 200;
    renderMouse({s, 9, false, kT0}, st, f);
    EXPECT_LT(st.setCounter, 3);
}

TEST(MouseEffects, BarSwingsBetweenMinusOneAndEight) {
    MouseEffectState st;
    LedFrame f;
    std::vector<int> seen;
    for (int t = 0; t < 20; ++t) {
        renderMouse({lighting(4, 4, false, 0), 9, false, kT0}, st, f);
        seen.push_back(st.bar);
    }
    const std::vector<int> want{1, 2, 3, 4, 5, 6, 7, 8, 7, 6, 5, 4, 3, 2, 1, 0, -1, 0, 1, 2};
    EXPECT_EQ(seen, want);
    // Direction 0 at counter 2: groups 0 and 1 lit, the rest dark with a cleared preview.
    st = {};
    st.bar = 1;
    renderMouse({lighting(4, 4, false, 0), 9, false, kT0}, st, f);
    EXPECT_TRUE(f.preview[0].visible);
    EXPECT_TRUE(f.preview[8].visible);
    EXPECT_FALSE(f.preview[2].visible);
    EXPECT_EQ(sentAt(f, 2), (Rgb{}));
}

TEST(MouseEffects, DpiOnlyAndUnknownModes) {
    MouseEffectState st;
    LedFrame f;
    renderMouse({lighting(5, 2), 1, false, kT0}, st, f);
    EXPECT_EQ(f.length, 15u);
    EXPECT_EQ(sentAt(f, 0), (Rgb{}));
    EXPECT_EQ(sentAt(f, 4), (Rgb{0, 255, 0}));
    EXPECT_EQ(f.preview[3], (PreviewLed{0, 149, true}));
    renderMouse({lighting(7, 4), 1, false, kT0}, st, f);
    EXPECT_EQ(f.length, 0u);
    // A brightness past the slider reads as full, not past the curve.
    renderMouse({lighting(1, 200), 9, false, kT0}, st, f);
    EXPECT_EQ(sentAt(f, 0), (Rgb{200, 100, 50}));
}

TEST(PadEffects, BarCounterAndFixedRainbow) {
    PadEffectState st;
    LedFrame f;
    std::vector<int> seen;
    for (int t = 0; t < 34; ++t) {
        renderPad({lighting(4, 4, true, 1), false, kT0}, st, f);
        seen.push_back(st.bar);
    }
    EXPECT_EQ(seen[14], 15); // up until it passes 14
    EXPECT_EQ(seen[15], 14);
    EXPECT_EQ(seen[30], -1); // down until it passes 0
    EXPECT_EQ(seen[31], 0);
    st.bar = 4;
    st.barFalling = false;
    renderPad({lighting(4, 4, true, 1), false, kT0}, st, f); // counter 5: LEDs 6-14 lit
    EXPECT_EQ(sentAt(f, 5), (Rgb{}));
    EXPECT_EQ(sentAt(f, 6), kColourWheel[42]);
    EXPECT_EQ(sentAt(f, 14), kColourWheel[98]);
}

TEST(PadEffects, FlowStartsLedByLedFromTheStartFlag) {
    PadEffectState st;
    LedFrame f;
    std::size_t litAfter[2] = {};
    for (int dir : {1, 0}) {
        st = {};
        for (int t = 0; t < 10; ++t) renderPad({lighting(5, 4, true, dir), false, kT0}, st, f);
        std::size_t lit = 0;
        for (std::size_t i = 0; i < kPadLeds; ++i) lit += f.preview[i].visible;
        litAfter[dir] = lit;
        // The first LED to wake is at the end the direction names.
        EXPECT_TRUE(f.preview[dir ? 0 : 14].visible);
        EXPECT_FALSE(f.preview[dir ? 14 : 0].visible);
    }
    EXPECT_EQ(litAfter[0], 4u); // turns 0, 3, 6, 9
    EXPECT_EQ(litAfter[1], 4u);
}

TEST(PadEffects, MarqueeRestsOneSecondAtEachEnd) {
    PadEffectState st;
    LedFrame f;
    const auto s = lighting(7, 4, false);
    auto now = kT0;
    for (int t = 0; t < 15; ++t) renderPad({s, false, now}, st, f);
    EXPECT_TRUE(st.marqueePausing);
    const auto held = st.marquee;
    EXPECT_EQ(held, 0x7E00); // fifteen right shifts around 16 places
    renderPad({s, false, now + 999ms}, st, f);
    EXPECT_EQ(st.marquee, held);
    renderPad({s, false, now + 1000ms}, st, f); // the pause ends; the next turn runs back
    renderPad({s, false, now + 1010ms}, st, f);
    EXPECT_EQ(st.marquee, 0xFC00); // one left rotation of 0x7E00
}

TEST(PadEffects, ModeNineAndUnknownModesSendNothing) {
    PadEffectState st;
    LedFrame f;
    for (int mode : {9, 10, 255}) {
        renderPad({lighting(mode), false, kT0}, st, f);
        EXPECT_EQ(f.length, 0u) << mode;
    }
    EXPECT_EQ(padTurnDelay(2, 4).count(), 25);
    EXPECT_EQ(padTurnDelay(9, 1).count(), 9);
    EXPECT_EQ(padTurnDelay(200, 200).count(), kPadDelay.back()); // pulled into the table
    EXPECT_EQ(padEffectPause(4, 4).count(), 140);
    EXPECT_EQ(padEffectPause(7, 2).count(), 60);
}

TEST(PadEffects, ReactiveFlashesAllFifteenLeds) {
    PadEffectState st;
    LedFrame f;
    renderPad({lighting(8, 4), true, kT0}, st, f);
    ASSERT_EQ(f.length, 60u);
    for (std::size_t i = 0; i < kPadLeds; ++i) EXPECT_EQ(sentAt(f, i), (Rgb{200, 100, 50}));
    for (std::size_t i = 45; i < 60; ++i) EXPECT_EQ(f.bytes[i], 0);
    renderPad({lighting(8, 4), false, kT0 + 150ms}, st, f);
    renderPad({lighting(8, 4), false, kT0 + 160ms}, st, f);
    EXPECT_EQ(sentAt(f, 0), (Rgb{}));
}

TEST(SameModeFromTheMouse, TheMouseModesBecomeTheSharedEffectsThatLookTheSame) {
    const struct {
        std::uint8_t mouseMode;
        bool seven;
        std::uint8_t shared;
        bool sharedSeven;
    } cases[] = {
        {0, false, 0, false}, // wave
        {1, false, 3, false}, // static
        {2, false, 2, false}, // breath in one colour
        {2, true, 2, true},   // breath through the colours
        {3, false, 2, true},  // gradient breath: the colour-cycling breath, not a static colour
        {5, false, 5, false}, // no shared effect: left as it is (the shared thread sends nothing)
    };
    for (const auto& c : cases) {
        settings::LightingSettings mouse;
        mouse.setMode(c.mouseMode);
        mouse.setSevenColour(c.seven);
        mouse.setColour({1, 2, 3});
        const auto shared = sharedFromMouse(mouse);
        EXPECT_EQ(shared.mode(), c.shared) << int(c.mouseMode);
        EXPECT_EQ(shared.sevenColour(), c.sharedSeven) << int(c.mouseMode);
        EXPECT_EQ(shared.colour(), (Rgb{1, 2, 3}));
    }
}

} // namespace
} // namespace zq::lighting
