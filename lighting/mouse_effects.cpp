#include "lighting/mouse_effects.h"

namespace zq::lighting {

namespace {

using namespace std::chrono_literals;

void putGroup(LedFrame& f, std::size_t group, Rgb colour, unsigned level) {
    for (std::uint8_t led : kLedGroups[group]) putLed(f, led, colour, level);
}
void putGroup(LedFrame& f, std::size_t group, Rgb colour, unsigned level, std::uint8_t breath) {
    for (std::uint8_t led : kLedGroups[group]) putLed(f, led, colour, level, breath);
}

void wave(const settings::LightingSettings& s, MouseEffectState& st, unsigned level, LedFrame& f) {
    if (s.sevenColour()) {
        st.wheelPhase = stepWheel(st.wheelPhase, s.direction());
        std::size_t c = st.wheelPhase;
        for (std::size_t g = 0; g < kLedGroupCount; ++g) {
            putGroup(f, g, kColourWheel[c], level);
            c = (c + 15) % kWheelSize;
        }
        return;
    }
    st.breathPhase = stepPhase(st.breathPhase, s.direction(), kBreath96.size());
    std::size_t c = st.breathPhase;
    for (std::size_t g = 0; g < kLedGroupCount; ++g) {
        putGroup(f, g, s.colour(), level, kBreath96[c]);
        c += 20;
        if (c > 95) c -= 96;
    }
}

void gradientBreath(const settings::LightingSettings& s, MouseEffectState& st, unsigned level, LedFrame& f) {
    st.breathPhase = stepPhase(st.breathPhase, s.direction(), kBreath128.size());
    if (st.setCounter >= kGradientSetCount) st.setCounter = 0; // a stray byte from a file
    if (st.breathPhase == 0)
        st.setCounter = static_cast<std::uint8_t>((st.setCounter + 1) % kGradientSetCount);
    const std::uint8_t b = kBreath128[st.breathPhase];
    for (std::size_t g = 0; g < kLedGroupCount; ++g)
        putGroup(f, g, s.sevenColour() ? kGradientSets[st.setCounter][g] : s.colour(), level, b);
}

void bar(const settings::LightingSettings& s, MouseEffectState& st, unsigned level, LedFrame& f) {
    if (!st.barFalling) {
        if (++st.bar >= 8) st.barFalling = true;
    } else if (--st.bar <= -1) {
        st.barFalling = false;
    }
    st.wheelPhase = stepWheel(st.wheelPhase, s.direction());
    std::size_t c = st.wheelPhase;
    for (std::size_t g = 0; g < kLedGroupCount; ++g) {
        const int gi = static_cast<int>(g);
        const bool lit = s.direction() != 0 ? st.bar < gi : gi < st.bar;
        if (lit) {
            putGroup(f, g, s.sevenColour() ? kColourWheel[c] : s.colour(), level);
        } else {
            for (std::uint8_t led : kLedGroups[g]) clearLed(f, led);
        }
        c = (c + 7) % kWheelSize;
    }
}

} // namespace

std::optional<Rgb> dpiIndicatorColour(std::uint8_t dpiLevel) {
    switch (dpiLevel) {
    case 0:
        return Rgb{255, 0, 0};
    case 1:
        return Rgb{0, 255, 0};
    case 2:
        return Rgb{0, 0, 255};
    case 3:
        return Rgb{255, 0, 255};
    case 4:
        return Rgb{255, 255, 0};
    default:
        return std::nullopt;
    }
}

std::chrono::milliseconds mouseEffectPause(std::uint8_t mode) {
    switch (mode) {
    case 0:
    case 2:
    case 3:
        return 20ms;
    case 4:
        return 70ms;
    default:
        return 0ms;
    }
}

void renderMouse(const MouseTurn& turn, MouseEffectState& st, LedFrame& f) {
    f = LedFrame{};
    const auto& s = turn.lighting;
    const unsigned level = brightnessLevel(s.brightness());
    f.length = kMouseFrameSize;
    switch (s.mode()) {
    case 0:
        wave(s, st, level, f);
        break;
    case 1:
        for (std::size_t i = 0; i < kMouseLeds; ++i) putLed(f, i, s.colour(), level);
        break;
    case 2:
    case 3:
        gradientBreath(s, st, level, f);
        break;
    case 4:
        bar(s, st, level, f);
        break;
    case 5:
        // Only the DPI indicator shows; the preview keeps black LEDs at the brightness alpha.
        for (auto& led : f.preview) led = {0, static_cast<std::uint8_t>(level), true};
        break;
    case 6: {
        const bool lit = st.flash.turn(turn.clicked, turn.now);
        const Rgb colour = s.sevenColour() ? kColourWheel[st.flash.position] : s.colour();
        for (std::size_t i = 0; i < 15; ++i) {
            if (lit)
                putLed(f, i, colour, level);
            else
                clearLed(f, i);
        }
        f.length = kWideFrameSize; // LEDs 15-19 stay 0, and no indicator
        return;
    }
    default:
        f.length = 0;
        return;
    }
    if (const auto dpi = dpiIndicatorColour(turn.dpiLevel)) {
        f.bytes[12] = dpi->r;
        f.bytes[13] = dpi->g;
        f.bytes[14] = dpi->b;
    }
}

} // namespace zq::lighting
