#include "lighting/shared_effects.h"

namespace zq::lighting {

namespace {

using namespace std::chrono_literals;

// Writes one place's colour, with a breath value (kNoBreath for none), to whichever device owns the place.
constexpr int kNoBreath = -1;
struct Painter {
    SharedFrames& out;
    unsigned level;

    void place(std::size_t p, Rgb c, int breath) {
        if (p < kSharedMouseBase) {
            const unsigned keyLevel =
                breath == kNoBreath ? level : (level * static_cast<unsigned>(breath)) >> 8;
            for (std::uint8_t key : kKeyColumns[p])
                if (key != kNoKey) out.keys[key] = {c.r, c.g, c.b, static_cast<std::uint8_t>(keyLevel)};
        } else if (p < kSharedPadBase) {
            for (std::uint8_t led : kLedGroups[p - kSharedMouseBase]) led_(out.mouse, led, c, breath);
        } else {
            led_(out.pad, p - kSharedPadBase, c, breath);
        }
    }
    void led_(LedFrame& f, std::size_t i, Rgb c, int breath) const {
        if (breath == kNoBreath)
            putLed(f, i, c, level);
        else
            putLed(f, i, c, level, static_cast<std::uint8_t>(breath));
    }
};

} // namespace

bool renderShared(const settings::LightingSettings& s, SharedEffectState& st, SharedFrames& out) {
    out.keys.fill(KeyLight{});
    out.mouse = LedFrame{};
    out.pad = LedFrame{};
    out.mouse.length = kWideFrameSize;
    out.pad.length = kPadFrameSize;
    Painter paint{out, brightnessLevel(s.brightness())};
    switch (s.mode()) {
    case 0:
        if (s.sevenColour()) {
            st.wheelPhase = stepWheel(st.wheelPhase, s.direction());
            for (std::size_t p = 0; p < kSharedPlaces; ++p)
                paint.place(p, wheel(st.wheelPhase + 7 * p), kNoBreath);
        } else {
            st.breathPhase = stepPhase(st.breathPhase, s.direction(), kBreath96.size());
            for (std::size_t p = 0; p < kSharedPlaces; ++p)
                paint.place(p, s.colour(), kBreath96[(st.breathPhase + 10 * p) % kBreath96.size()]);
        }
        return true;
    case 1:
        st.wheelPhase = stepWheel(st.wheelPhase, s.direction());
        for (std::size_t p = 0; p < kSharedPlaces; ++p)
            paint.place(p, kColourWheel[st.wheelPhase], kNoBreath);
        return true;
    case 2: {
        st.breathPhase = stepPhase(st.breathPhase, s.direction(), kBreath128.size());
        const Rgb c = s.sevenColour() ? kColourWheel[st.breathPhase + 50] : s.colour();
        for (std::size_t p = 0; p < kSharedPlaces; ++p) paint.place(p, c, kBreath128[st.breathPhase]);
        return true;
    }
    case 3:
        for (std::size_t p = 0; p < kSharedPlaces; ++p) paint.place(p, s.colour(), kNoBreath);
        return true;
    default:
        return false;
    }
}

std::chrono::milliseconds sharedEffectPause(std::uint8_t mode) {
    return mode <= 2 ? 20ms : 0ms;
}

} // namespace zq::lighting
