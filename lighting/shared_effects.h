#pragma once
// Synchronised lighting: one animation over the keyboard, the mouse and the pad together, driven by the
// shared lighting settings.
//
// The devices share one row of 45 places, left to right as they usually sit on a desk: the keyboard's 23
// key columns (places 0-22), the mouse's 7 LED groups (23-29) and the pad's 15 LEDs in their order around
// the pad (30-44). A wave therefore runs across the keyboard, over the mouse and around the pad as one.
//
// Effects 0-3 follow the pad's and keyboard's first four modes, which the same-mode button offers:
// 0 wave, 1 colour cycle, 2 breath, 3 static. (The mouse offers same mode in its wave and breath modes;
// its gradient breath is shown as the breath.)
#include "lighting/colour_math.h"
#include "lighting/keyboard_effects.h"
#include "lighting/light_frame.h"
#include "settings/lighting_settings.h"

#include <chrono>
#include <cstdint>

namespace zq::lighting {

inline constexpr std::size_t kSharedPlaces = kKeyColumnCount + kLedGroupCount + kPadLeds; // 45
inline constexpr std::size_t kSharedMouseBase = kKeyColumnCount;
inline constexpr std::size_t kSharedPadBase = kKeyColumnCount + kLedGroupCount;
inline constexpr std::uint8_t kSharedEffectCount = 4;

struct SharedEffectState {
    std::uint8_t wheelPhase = 0;
    std::uint8_t breathPhase = 0;
};

struct SharedFrames {
    KeyLightState keys{};
    LedFrame mouse; // 60 bytes, no DPI indicator
    LedFrame pad;   // 45 bytes
};

// The mouse numbers its modes its own way (0 wave, 1 static, 2 breath, 3 gradient breath, ...): its
// lighting as the shared effects number them, so same mode from the mouse shows what the mouse showed
// (the gradient breath as the colour-cycling breath). Modes without a shared effect stay as they are.
constexpr settings::LightingSettings sharedFromMouse(settings::LightingSettings mouse) {
    switch (mouse.mode()) {
    case 1: // static
        mouse.setMode(3);
        break;
    case 3: // gradient breath
        mouse.setMode(2);
        mouse.setSevenColour(true);
        break;
    default: // wave and breath keep their numbers
        break;
    }
    return mouse;
}

// One turn of shared effect sync.mode(); false for a mode past 3 (nothing is sent).
bool renderShared(const settings::LightingSettings& sync, SharedEffectState& state, SharedFrames& out);

std::chrono::milliseconds sharedEffectPause(std::uint8_t mode);

} // namespace zq::lighting
