#include "lighting/pad_effects.h"

#include <algorithm>

namespace zq::lighting {

namespace {

using namespace std::chrono_literals;

constexpr std::uint16_t kMarqueeStart = 0x3F00;
constexpr std::uint8_t kMarqueeShiftsPerPass = 15;
constexpr auto kMarqueePause = 1000ms;

void wave(const settings::LightingSettings& s, PadEffectState& st, unsigned level, LedFrame& f) {
    if (s.sevenColour()) {
        st.wheelPhase = stepWheel(st.wheelPhase, s.direction());
        std::size_t c = st.wheelPhase;
        for (std::size_t i = 0; i < kPadLeds; ++i) {
            putLed(f, i, kColourWheel[c], level);
            c = (c + 7) % kWheelSize;
        }
        return;
    }
    st.breathPhase = stepPhase(st.breathPhase, s.direction(), kBreath96.size());
    std::size_t c = st.breathPhase;
    for (std::size_t i = 0; i < kPadLeds; ++i) {
        putLed(f, i, s.colour(), level, kBreath96[c]);
        c += 10;
        if (c > 85) c -= 86;
    }
}

// With the colour cycle each breath takes the next sixth of the wheel, so the pad breathes red, yellow,
// green, cyan, blue, magenta in turn; the colour changes while the pad is dark.
void breath(const settings::LightingSettings& s, PadEffectState& st, unsigned level, LedFrame& f) {
    st.breathPhase = stepPhase(st.breathPhase, s.direction(), kBreath128.size());
    if (st.breathColour >= kWheelSize / kWheelSegment) st.breathColour = 0;
    if (st.breathPhase == 0)
        st.breathColour = static_cast<std::uint8_t>((st.breathColour + 1) % (kWheelSize / kWheelSegment));
    const Rgb colour = s.sevenColour() ? kColourWheel[st.breathColour * kWheelSegment] : s.colour();
    for (std::size_t i = 0; i < kPadLeds; ++i) putLed(f, i, colour, level, kBreath128[st.breathPhase]);
}

void bar(const settings::LightingSettings& s, PadEffectState& st, unsigned level, LedFrame& f) {
    if (!st.barFalling) {
        if (++st.bar > 14) st.barFalling = true;
    } else if (--st.bar < 0) {
        st.barFalling = false;
    }
    for (std::size_t i = 0; i < kPadLeds; ++i) {
        const int ii = static_cast<int>(i);
        const bool lit = s.direction() != 0 ? st.bar < ii : ii < st.bar;
        if (lit)
            putLed(f, i, s.sevenColour() ? kColourWheel[(7 * i) % kWheelSize] : s.colour(), level);
        else
            clearLed(f, i);
    }
}

// Flow: when the mode starts, the LEDs wake one after the other, three turns apart, from the end the
// direction names; each then breathes along Breath128 at two steps a turn and walks the wheel at three,
// starting twelve wheel steps after its neighbour. The result is a soft rainbow (or light-colour) swell
// that runs along the pad from the start and keeps rolling.
void flow(const settings::LightingSettings& s, PadEffectState& st, unsigned level, LedFrame& f) {
    if (!st.flowStarted) {
        for (std::size_t i = 0; i < kPadLeds; ++i) {
            const std::size_t order = s.direction() != 0 ? i : kPadLeds - 1 - i;
            st.flowLevel[i] = static_cast<std::int16_t>(-3 * static_cast<int>(order));
            st.flowPhase[i] = static_cast<std::uint8_t>((12 * order) % kWheelSize);
        }
        st.flowStarted = true;
    }
    for (std::size_t i = 0; i < kPadLeds; ++i) {
        auto& lvl = st.flowLevel[i];
        if (lvl < 0) {
            ++lvl;
            clearLed(f, i);
            continue;
        }
        const Rgb colour = s.sevenColour() ? kColourWheel[st.flowPhase[i]] : s.colour();
        putLed(f, i, colour, level, kBreath128[static_cast<std::size_t>(lvl)]);
        lvl = static_cast<std::int16_t>((lvl + 2) % static_cast<int>(kBreath128.size()));
        st.flowPhase[i] = static_cast<std::uint8_t>((st.flowPhase[i] + 3) % kWheelSize);
    }
}

void groupWave(const settings::LightingSettings& s, PadEffectState& st, unsigned level, LedFrame& f) {
    st.wheelPhase = stepWheel(st.wheelPhase, s.direction());
    std::size_t c = st.wheelPhase;
    for (const auto& group : kPadGroups) {
        for (std::uint8_t led : group)
            if (led != kNoLed) putLed(f, led, kColourWheel[c], level);
        c = (c + 7) % kWheelSize;
    }
}

// Marquee: sixteen places around the pad, places 0-14 being LEDs 0-14 in their order around the edge and
// place 15 a gap off the pad, so the lit block seems to leave at one end and come back at the other. The
// block of six lit places (mask 0x3F00) rotates one place a turn for fifteen shifts, rests a second,
// then runs back the same way and rests again. Lit places take wheel colours 20 steps apart, the wheel
// turning slowly under them; without the colour cycle they take the light colour.
void marquee(const settings::LightingSettings& s, PadEffectState& st, unsigned level, LedFrame& f,
             platform::Clock::TimePoint now) {
    if (st.marqueePausing) {
        if (now - st.marqueePauseStart >= kMarqueePause) {
            st.marqueePausing = false;
            st.marqueeBack = !st.marqueeBack;
            st.marqueeShifts = 0;
        }
    } else {
        const std::uint16_t m = st.marquee;
        st.marquee = st.marqueeBack ? static_cast<std::uint16_t>((m << 1) | (m >> 15))
                                    : static_cast<std::uint16_t>((m >> 1) | (m << 15));
        if (++st.marqueeShifts >= kMarqueeShiftsPerPass) {
            st.marqueePausing = true;
            st.marqueePauseStart = now;
        }
    }
    st.wheelPhase = stepWheel(st.wheelPhase, s.direction());
    for (std::size_t place = 0; place < kPadLeds; ++place) {
        if ((st.marquee >> place) & 1u) {
            const Rgb colour = s.sevenColour() ? wheel(st.wheelPhase + 20 * place) : s.colour();
            putLed(f, place, colour, level);
        } else {
            clearLed(f, place);
        }
    }
}

} // namespace

std::chrono::milliseconds padTurnDelay(std::uint8_t mode, std::uint8_t speed) {
    const std::size_t m = std::min<std::size_t>(mode, kPadModeCount - 1);
    const std::size_t sp = std::min<std::size_t>(speed, kSpeedColumns - 1);
    return std::chrono::milliseconds(kPadDelay[sp + kSpeedColumns * m]);
}

std::chrono::milliseconds padEffectPause(std::uint8_t mode, std::uint8_t speed) {
    switch (mode) {
    case 4:
        return std::chrono::milliseconds(10 * speed + 100);
    case 5:
        return 50ms;
    case 7:
        return std::chrono::milliseconds(5 * speed + 50);
    default:
        return 0ms;
    }
}

void renderPad(const PadTurn& turn, PadEffectState& st, LedFrame& f) {
    f = LedFrame{};
    const auto& s = turn.lighting;
    const unsigned level = brightnessLevel(s.brightness());
    f.length = kPadFrameSize;
    switch (s.mode()) {
    case 0:
        wave(s, st, level, f);
        break;
    case 1:
        st.wheelPhase = stepWheel(st.wheelPhase, s.direction());
        for (std::size_t i = 0; i < kPadLeds; ++i) putLed(f, i, kColourWheel[st.wheelPhase], level);
        break;
    case 2:
        breath(s, st, level, f);
        f.length = kWideFrameSize;
        break;
    case 3:
        for (std::size_t i = 0; i < kPadLeds; ++i) putLed(f, i, s.colour(), level);
        f.length = kWideFrameSize;
        break;
    case 4:
        bar(s, st, level, f);
        break;
    case 5:
        flow(s, st, level, f);
        break;
    case 6:
        groupWave(s, st, level, f);
        break;
    case 7:
        marquee(s, st, level, f, turn.now);
        break;
    case 8: {
        const bool lit = st.flash.turn(turn.clicked, turn.now);
        const Rgb colour = s.sevenColour() ? kColourWheel[st.flash.position] : s.colour();
        for (std::size_t i = 0; i < kPadLeds; ++i) {
            if (lit)
                putLed(f, i, colour, level);
            else
                clearLed(f, i);
        }
        f.length = kWideFrameSize;
        break;
    }
    default:
        f.length = 0;
        break;
    }
}

} // namespace zq::lighting
