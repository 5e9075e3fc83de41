#pragma once
// The keyboard's effects (light modes 0-16). Each writes a colour and a level for every key into a
// KeyLightState; the sender turns that into the 378-byte frame and the key preview.
#include "lighting/colour_math.h"
#include "lighting/key_tables.h"
#include "lighting/light_frame.h"
#include "settings/lighting_settings.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <span>

namespace zq::lighting {

struct KeyLight {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t level = 0;
    friend constexpr bool operator==(const KeyLight&, const KeyLight&) = default;
};
using KeyLightState = std::array<KeyLight, kKeyCount>;

// Keys pressed since the last turn, by key index.
struct KeyPresses {
    std::array<std::uint64_t, 2> bits{};
    constexpr bool test(std::size_t key) const {
        return key < kKeyCount && ((bits[key / 64] >> (key % 64)) & 1u);
    }
    constexpr void set(std::size_t key) {
        if (key < kKeyCount) bits[key / 64] |= std::uint64_t{1} << (key % 64);
    }
    constexpr bool any() const { return (bits[0] | bits[1]) != 0; }
};

// The fixed colours modes 11 and 16 step through.
inline constexpr std::size_t kKeyPaletteSize = 7;
inline constexpr std::array<Rgb, kKeyPaletteSize> kKeyPalette{
    {{255, 0, 0}, {255, 96, 0}, {255, 220, 0}, {0, 255, 40}, {0, 200, 255}, {30, 40, 255}, {190, 0, 255}}};

struct KeyboardEffectState {
    struct Ripple {
        std::uint8_t column = 0;
        std::uint8_t row = 0;
        std::uint8_t age = 0;
        std::uint8_t hue = 0;
        bool active = false;
    };
    static constexpr std::size_t kRipples = 8;

    std::uint8_t wheelPhase = 0;
    std::uint8_t breathPhase = 0;
    std::array<std::uint8_t, kKeyCount> keyPhase{}; // per-key wheel phases
    std::array<std::uint8_t, kKeyCount> keyFade{};  // per-key fading level
    std::array<std::uint8_t, kKeyCount> keyFlash{}; // per-key FlashCurve index + 1; 0 when idle
    std::array<std::uint8_t, kKeyCount> keyHue{};   // wheel position of a key's flash
    std::array<std::uint8_t, kKeyCount> palettePhase{};
    std::array<std::uint8_t, kKeyCount> paletteIndex{};
    std::array<std::uint8_t, kKeyColumnCount> columnFlash{};
    std::array<Ripple, kRipples> ripples{};
    std::uint16_t cursor = 0;
    std::uint8_t pressHue = 0;
    // Advanced at the end of every turn: one each turn, one every second turn.
    std::uint32_t frameCounter = 0;
    std::uint32_t slowCounter = 0;
};

// The effect-state reset for a mode: everything back to 0, then what the mode needs prepared (the spread
// per-key phases of modes 4, 9 and 12, the palette phases of modes 11 and 16).
void resetKeyboardState(KeyboardEffectState& state, std::uint8_t mode);

struct KeyboardTurn {
    settings::LightingSettings lighting;
    // The selected custom colour map (126 LED slots x red, green, blue), for mode 8.
    std::span<const std::uint8_t, kKeyboardFrameSize> customMap;
    KeyPresses pressed;
};

// One turn of the effect of lighting.mode(): every key of out is written (keys an effect leaves dark get
// level 0). Returns false for a mode past 16 (nothing to send). Ends by advancing the frame counters.
bool renderKeyboard(const KeyboardTurn& turn, KeyboardEffectState& state, KeyLightState& out);

// The sender: the preview of every key (colour, level as alpha, shown unless the key-assignment page is
// up) and the frame bytes of every key with an LED.
void packKeyboardFrame(const KeyLightState& keys, bool keyPageSelected, KeyboardFrame& out);

// KeyDelay for a mode and speed (out-of-table values are pulled into the table), and the extra pause a
// mode takes before its effect.
std::chrono::milliseconds keyboardTurnDelay(std::uint8_t mode, std::uint8_t speed);
std::chrono::milliseconds keyboardEffectPause(std::uint8_t mode);

} // namespace zq::lighting
