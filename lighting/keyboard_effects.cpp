#include "lighting/keyboard_effects.h"

#include <algorithm>
#include <cstdlib>

namespace zq::lighting {

namespace {

using namespace std::chrono_literals;
using settings::LightingSettings;

constexpr std::size_t kFlashSize = kFlashCurve.size();

void put(KeyLightState& keys, std::size_t key, Rgb c, unsigned level) {
    keys[key] = {c.r, c.g, c.b, static_cast<std::uint8_t>(std::min(level, 255u))};
}

void putColumn(KeyLightState& keys, std::size_t column, Rgb c, unsigned level) {
    for (std::uint8_t key : kKeyColumns[column])
        if (key != kNoKey) put(keys, key, c, level);
}

unsigned times(unsigned level, std::uint8_t factor) {
    return (level * factor) >> 8;
}

// Chebyshev distance between a key and a place on the column grid; keys outside the grid are far away.
unsigned gridDistance(std::size_t key, unsigned column, unsigned row) {
    const auto place = kKeyPlaces[key];
    if (place.column == kNoKey) return 255;
    const unsigned dc = static_cast<unsigned>(std::abs(int(place.column) - int(column)));
    const unsigned dr = static_cast<unsigned>(std::abs(int(place.row) - int(row)));
    return std::max(dc, dr);
}

// Mode 9's scrambled order: position j of the twinkle takes snake key (37 j) mod 104. 37 and 104 share
// no factor, so every snake key comes once per round, and neighbours on the snake land far apart in time.
constexpr std::size_t kTwinkleStride = 37;
constexpr unsigned kTwinklePerTurn = 3;
constexpr std::uint8_t kTwinkleFade = 12;

// Modes 5, 6 and 15 enter the flash curve partway up, so a key press answers at once (four turns to the
// peak at two curve steps a turn), then falls back over about eighteen turns.
constexpr std::uint8_t kReactiveEntry = 9; // index + 1
constexpr std::uint8_t kReactiveStep = 2;
constexpr std::uint8_t kRippleHueStep = 24;

// Mode 13: rings around the centre key (column 11, row 3: the H key), the head ring one further out
// (or in) every turn, three rings of fading trail behind it.
constexpr unsigned kRippleCentreColumn = 11;
constexpr unsigned kRippleCentreRow = 3;
constexpr unsigned kRingCount = 12;
constexpr unsigned kRingTrail = 4;

// Mode 12: a band 15 keys wide (centre +- 7), full in the middle and tapering to the edges.
constexpr int kBandHalfWidth = 7;

// Mode 14: the sweep head crosses the 23 columns, then rests 8 turns before the next pass.
constexpr unsigned kSweepCycle = kKeyColumnCount + 8;

// Mode 15: a dim bed of the light colour (a quarter level); a pressed key jumps to full and settles back
// to the bed by 16 levels every second turn.
constexpr std::uint8_t kGlowBed = 64;
constexpr std::uint8_t kGlowStep = 16;

void advanceFlash(std::uint8_t& flash, std::uint8_t step) {
    if (flash == 0) return;
    const unsigned next = flash + step;
    flash = next > kFlashSize ? 0 : static_cast<std::uint8_t>(next);
}

void columnWave(const LightingSettings& s, KeyboardEffectState& st, unsigned level, KeyLightState& keys) {
    if (s.sevenColour()) {
        st.wheelPhase = stepWheel(st.wheelPhase, s.direction());
        std::size_t c = st.wheelPhase;
        for (std::size_t k = 0; k < kKeyColumnCount; ++k) {
            putColumn(keys, k, kColourWheel[c], level);
            c = (c + 7) % kWheelSize;
        }
        return;
    }
    st.breathPhase = stepPhase(st.breathPhase, s.direction(), kBreath96.size());
    std::size_t c = st.breathPhase;
    for (std::size_t k = 0; k < kKeyColumnCount; ++k) {
        putColumn(keys, k, s.colour(), times(level, kBreath96[c]));
        c += 10;
        if (c > 95) c -= 86;
    }
}

void snake(const LightingSettings& s, KeyboardEffectState& st, unsigned level, KeyLightState& keys) {
    if (s.sevenColour()) {
        st.wheelPhase = stepWheel(st.wheelPhase, s.direction());
        std::size_t c = st.wheelPhase;
        for (std::uint8_t key : kKeySnake) {
            put(keys, key, kColourWheel[c], level);
            c = (c + 5) % kWheelSize;
        }
        return;
    }
    st.breathPhase = stepPhase(st.breathPhase, s.direction(), kBreath96.size());
    std::size_t c = st.breathPhase;
    for (std::uint8_t key : kKeySnake) {
        put(keys, key, s.colour(), times(level, kBreath96[c]));
        c += 5;
        if (c > 95) c -= 91;
    }
}

// Shows every key's running flash in its own colour (or the set colour) and moves it one step on.
void showFlashes(const LightingSettings& s, KeyboardEffectState& st, unsigned level, KeyLightState& keys) {
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        auto& f = st.keyFlash[key];
        if (f == 0) continue;
        put(keys, key, s.sevenColour() ? kColourWheel[st.keyHue[key]] : s.colour(),
            times(level, kFlashCurve[f - 1]));
        advanceFlash(f, kReactiveStep);
    }
}

// Mode 5: a pressed key flashes and the flash runs outward over the keyboard, one ring of keys further
// each turn, every key it reaches flashing in turn.
void rippleReactive(const KeyboardTurn& t, KeyboardEffectState& st, unsigned level, KeyLightState& keys) {
    const auto& s = t.lighting;
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        if (!t.pressed.test(key)) continue;
        st.pressHue = static_cast<std::uint8_t>((st.pressHue + kRippleHueStep) % kWheelSize);
        const auto place = kKeyPlaces[key];
        if (place.column == kNoKey) {
            st.keyFlash[key] = kReactiveEntry;
            st.keyHue[key] = st.pressHue;
            continue;
        }
        // Reuse the oldest slot when all are busy: the newest press matters most.
        auto* slot = &st.ripples[0];
        for (auto& r : st.ripples) {
            if (!r.active) {
                slot = &r;
                break;
            }
            if (r.age > slot->age) slot = &r;
        }
        *slot = {place.column, place.row, 0, st.pressHue, true};
    }
    for (auto& r : st.ripples) {
        if (!r.active) continue;
        for (std::size_t key = 0; key < kKeyCount; ++key) {
            if (gridDistance(key, r.column, r.row) == r.age &&
                (st.keyFlash[key] == 0 || st.keyFlash[key] > kFlashPeak)) {
                st.keyFlash[key] = kReactiveEntry;
                st.keyHue[key] = r.hue;
            }
        }
        if (++r.age >= kKeyColumnCount) r.active = false;
    }
    showFlashes(s, st, level, keys);
}

// Mode 6: only the pressed keys flash, each press with the next colour of the wheel when the colour cycle
// is on; the rest of the keyboard stays dark.
void keyReactive(const KeyboardTurn& t, KeyboardEffectState& st, unsigned level, KeyLightState& keys) {
    const auto& s = t.lighting;
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        if (!t.pressed.test(key)) continue;
        st.pressHue = static_cast<std::uint8_t>((st.pressHue + kRippleHueStep) % kWheelSize);
        st.keyFlash[key] = kReactiveEntry;
        st.keyHue[key] = st.pressHue;
    }
    showFlashes(s, st, level, keys);
}

// Mode 15: the whole keyboard glows dimly; pressed keys light fully and sink slowly back into the glow.
// With the colour cycle the glow's colour walks the wheel.
void afterglow(const KeyboardTurn& t, KeyboardEffectState& st, unsigned level, KeyLightState& keys) {
    const auto& s = t.lighting;
    if (s.sevenColour()) st.wheelPhase = stepWheel(st.wheelPhase, 1);
    const Rgb colour = s.sevenColour() ? kColourWheel[st.wheelPhase] : s.colour();
    const bool decay = (st.frameCounter & 1u) == 0;
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        auto& fade = st.keyFade[key];
        if (t.pressed.test(key)) fade = 255;
        if (fade < kGlowBed) fade = kGlowBed;
        put(keys, key, colour, times(level, fade));
        if (decay) fade = static_cast<std::uint8_t>(std::max<int>(kGlowBed, fade - kGlowStep));
    }
}

// Mode 9: three more keys of the scrambled order light fully every turn and fade over about twenty turns,
// so some sixty keys twinkle at any moment; each key shows its own slowly turning wheel colour.
void twinkle(const LightingSettings& s, KeyboardEffectState& st, unsigned level, KeyLightState& keys) {
    for (unsigned n = 0; n < kTwinklePerTurn; ++n) {
        st.cursor = static_cast<std::uint16_t>(st.cursor % kSnakeLength);
        st.keyFade[kKeySnake[(kTwinkleStride * st.cursor) % kSnakeLength]] = 255;
        st.cursor = static_cast<std::uint16_t>((st.cursor + 1) % kSnakeLength);
    }
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        st.keyPhase[key] = static_cast<std::uint8_t>((st.keyPhase[key] + 2) % kWheelSize);
        auto& fade = st.keyFade[key];
        if (fade == 0) continue;
        put(keys, key, s.sevenColour() ? kColourWheel[st.keyPhase[key]] : s.colour(), times(level, fade));
        fade = fade > kTwinkleFade ? static_cast<std::uint8_t>(fade - kTwinkleFade) : 0;
    }
}

// Modes 11 and 16: every key pulses along FlashCurve on its own phase and takes the next palette colour
// each time its pulse starts again (while it is dark). Mode 11 runs along the snake with neighbouring
// keys two phase steps apart, so pulses travel; mode 16 covers all keys with scattered phases.
void palettePulse(const std::uint8_t* order, std::size_t count, KeyboardEffectState& st, unsigned level,
                  KeyLightState& keys) {
    for (std::size_t j = 0; j < count; ++j) {
        auto& phase = st.palettePhase[j];
        if (++phase >= kFlashSize) {
            phase = 0;
            st.paletteIndex[j] = static_cast<std::uint8_t>((st.paletteIndex[j] + 1) % kKeyPaletteSize);
        }
        const std::size_t key = order ? order[j] : j;
        put(keys, key, kKeyPalette[st.paletteIndex[j] % kKeyPaletteSize], times(level, kFlashCurve[phase]));
    }
}

// Mode 12: a band moves along the key order one key a turn (its way set by the direction), lighting the
// keys it covers with their own drifting wheel colours, or the light colour without the colour cycle.
void band(const LightingSettings& s, KeyboardEffectState& st, unsigned level, KeyLightState& keys) {
    const int n = static_cast<int>(kKeyCount);
    st.cursor = static_cast<std::uint16_t>((st.cursor + (s.direction() != 0 ? 1 : n - 1)) % n);
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        st.keyPhase[key] = static_cast<std::uint8_t>((st.keyPhase[key] + 3) % kWheelSize);
        int d = std::abs(static_cast<int>(key) - static_cast<int>(st.cursor));
        d = std::min(d, n - d);
        if (d > kBandHalfWidth) continue;
        const unsigned taper = 256u * static_cast<unsigned>(kBandHalfWidth + 1 - d) / (kBandHalfWidth + 1);
        put(keys, key, s.sevenColour() ? kColourWheel[st.keyPhase[key]] : s.colour(),
            (level * std::min(taper, 255u)) >> 8);
    }
}

void ripple(const LightingSettings& s, KeyboardEffectState& st, unsigned level, KeyLightState& keys) {
    st.wheelPhase = static_cast<std::uint8_t>((st.wheelPhase + 4) % kWheelSize);
    const unsigned step = st.frameCounter % kRingCount;
    const unsigned head = s.direction() != 0 ? step : kRingCount - 1 - step;
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        const unsigned d = gridDistance(key, kRippleCentreColumn, kRippleCentreRow);
        if (d == 255) continue;
        const unsigned ring = std::min(d, kRingCount - 1);
        const unsigned age = s.direction() != 0 ? (head + kRingCount - ring) % kRingCount
                                                : (ring + kRingCount - head) % kRingCount;
        if (age >= kRingTrail) continue;
        put(keys, key, wheel(st.wheelPhase + 21 * ring), (level * (kRingTrail - age)) / kRingTrail);
    }
}

// Mode 14: the sweep head crosses the keyboard a column a turn; each column it passes flashes at full and
// decays behind it along FlashCurve, leaving a fading tail.
void sweep(const LightingSettings& s, KeyboardEffectState& st, unsigned level, KeyLightState& keys) {
    st.cursor = static_cast<std::uint16_t>((st.cursor + 1) % kSweepCycle);
    if (st.cursor < kKeyColumnCount) {
        const std::size_t head = s.direction() != 0 ? st.cursor : kKeyColumnCount - 1 - st.cursor;
        st.columnFlash[head] = static_cast<std::uint8_t>(kFlashPeak + 1);
    }
    if (s.sevenColour()) st.wheelPhase = stepWheel(st.wheelPhase, s.direction());
    for (std::size_t k = 0; k < kKeyColumnCount; ++k) {
        auto& f = st.columnFlash[k];
        if (f == 0) continue;
        putColumn(keys, k, s.sevenColour() ? wheel(st.wheelPhase + 2 * k) : s.colour(),
                  times(level, kFlashCurve[f - 1]));
        advanceFlash(f, kReactiveStep);
    }
}

} // namespace

void resetKeyboardState(KeyboardEffectState& st, std::uint8_t mode) {
    st = KeyboardEffectState{};
    switch (mode) {
    case 4:
    case 9:
    case 12:
        // A rainbow across the keyboard: each column eight wheel steps after the one to its left.
        for (std::size_t key = 0; key < kKeyCount; ++key) {
            const auto place = kKeyPlaces[key];
            const std::size_t column = place.column == kNoKey ? key % kKeyColumnCount : place.column;
            st.keyPhase[key] = static_cast<std::uint8_t>((8 * column) % kWheelSize);
        }
        break;
    case 11:
        for (std::size_t j = 0; j < kSnakeLength; ++j)
            st.palettePhase[j] = static_cast<std::uint8_t>((kFlashSize * 4 - 2 * j) % kFlashSize);
        break;
    case 16:
        for (std::size_t key = 0; key < kKeyCount; ++key) {
            st.palettePhase[key] = static_cast<std::uint8_t>((29 * key) % kFlashSize);
            st.paletteIndex[key] = static_cast<std::uint8_t>(key % kKeyPaletteSize);
        }
        break;
    default:
        break;
    }
}

bool renderKeyboard(const KeyboardTurn& t, KeyboardEffectState& st, KeyLightState& keys) {
    keys.fill(KeyLight{});
    const auto& s = t.lighting;
    const unsigned level = brightnessLevel(s.brightness());
    bool send = true;
    switch (s.mode()) {
    case 0:
        columnWave(s, st, level, keys);
        break;
    case 1:
        st.wheelPhase = stepWheel(st.wheelPhase, s.direction());
        for (std::size_t key = 0; key < kKeyCount; ++key) put(keys, key, kColourWheel[st.wheelPhase], level);
        break;
    case 2: {
        st.breathPhase = stepPhase(st.breathPhase, s.direction(), kBreath128.size());
        const Rgb c = s.sevenColour() ? kColourWheel[st.breathPhase + 50] : s.colour();
        for (std::size_t key = 0; key < kKeyCount; ++key)
            put(keys, key, c, times(level, kBreath128[st.breathPhase]));
        break;
    }
    case 3:
        for (std::size_t key = 0; key < kKeyCount; ++key) put(keys, key, s.colour(), level);
        break;
    case 4:
        for (std::size_t key = 0; key < kKeyCount; ++key) {
            st.keyPhase[key] = static_cast<std::uint8_t>((st.keyPhase[key] + 1) % kWheelSize);
            put(keys, key, kColourWheel[st.keyPhase[key]], level);
        }
        break;
    case 5:
        rippleReactive(t, st, level, keys);
        break;
    case 6:
        keyReactive(t, st, level, keys);
        break;
    case 7:
        snake(s, st, level, keys);
        break;
    case 8:
        for (std::size_t key = 0; key < kKeyCount; ++key) {
            const std::size_t slot = kKeyLedMap[key];
            if (slot == kNoKey) continue;
            put(keys, key, {t.customMap[3 * slot], t.customMap[3 * slot + 1], t.customMap[3 * slot + 2]},
                level);
        }
        break;
    case 9:
        twinkle(s, st, level, keys);
        break;
    case 10: {
        st.wheelPhase = stepWheel(st.wheelPhase, s.direction());
        for (std::size_t k = 0; k < kKeyColumnCount; ++k)
            putColumn(keys, k, wheel(st.wheelPhase + 24 * k), level);
        break;
    }
    case 11:
        palettePulse(kKeySnake.data(), kSnakeLength, st, level, keys);
        break;
    case 12:
        band(s, st, level, keys);
        break;
    case 13:
        ripple(s, st, level, keys);
        break;
    case 14:
        sweep(s, st, level, keys);
        break;
    case 15:
        afterglow(t, st, level, keys);
        break;
    case 16:
        palettePulse(nullptr, kKeyCount, st, level, keys);
        break;
    default:
        send = false;
        break;
    }
    ++st.frameCounter;
    if ((st.frameCounter & 1u) == 0) ++st.slowCounter;
    return send;
}

void packKeyboardFrame(const KeyLightState& keys, bool keyPageSelected, KeyboardFrame& out) {
    out.bytes.fill(0);
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        const KeyLight& k = keys[key];
        out.preview[key] = {packPreviewColour({k.r, k.g, k.b}), k.level, !keyPageSelected};
        const std::size_t slot = kKeyLedMap[key];
        if (slot == kNoKey) continue;
        // (level + 1) as everywhere else, so full level sends the colour unchanged and level 0 sends 0.
        out.bytes[3 * slot] = scaleChannel(k.r, k.level);
        out.bytes[3 * slot + 1] = scaleChannel(k.g, k.level);
        out.bytes[3 * slot + 2] = scaleChannel(k.b, k.level);
    }
}

std::chrono::milliseconds keyboardTurnDelay(std::uint8_t mode, std::uint8_t speed) {
    const std::size_t m = std::min<std::size_t>(mode, kKeyboardModeCount - 1);
    const std::size_t sp = std::min<std::size_t>(speed, kKeySpeedColumns - 1);
    return std::chrono::milliseconds(kKeyDelay[sp + kKeySpeedColumns * m]);
}

std::chrono::milliseconds keyboardEffectPause(std::uint8_t mode) {
    switch (mode) {
    case 1:
        return 20ms;
    case 4:
        return 12ms;
    case 5:
        return 40ms;
    case 6:
        return 15ms;
    case 7:
        return 1ms;
    case 13:
        return 10ms;
    case 15:
        return 50ms;
    default:
        return 0ms;
    }
}

} // namespace zq::lighting
