#pragma once
// The mouse's effects (light modes 0-6) and its DPI indicator, as pure functions of the lighting
// settings, the effect state and the time of the turn.
#include "lighting/colour_math.h"
#include "lighting/light_frame.h"
#include "lighting/reactive_flash.h"
#include "platform/clock.h"
#include "settings/lighting_settings.h"

#include <chrono>
#include <cstdint>
#include <optional>

namespace zq::lighting {

inline constexpr std::uint8_t kMouseModeCount = 7;

struct MouseEffectState {
    std::uint8_t wheelPhase = 0;  // 0-191
    std::uint8_t breathPhase = 0; // 0-95 (wave) or 0-127 (gradient breath)
    std::int8_t bar = 0;          // -1 .. 8
    bool barFalling = false;
    ReactiveFlash flash;
    // The gradient breath's colour-set counter (0-2). It travels in the block's effect_state byte, so the
    // thread loads it before each turn and stores it back after.
    std::uint8_t setCounter = 0;
};

struct MouseTurn {
    settings::LightingSettings lighting;
    std::uint8_t dpiLevel = 0;
    bool clicked = false;
    platform::Clock::TimePoint now{};
};

// One turn of the effect of lighting.mode(); the frame is zeroed first. For a mode past 6 the frame's
// length is 0 (nothing is sent). LED 4 carries the DPI indicator in the 15-byte frames.
void renderMouse(const MouseTurn& turn, MouseEffectState& state, LedFrame& out);

// The indicator colour of a DPI level 0-4; other levels leave the effect's colour on LED 4.
std::optional<Rgb> dpiIndicatorColour(std::uint8_t dpiLevel);

// The pause a mode takes before its effect runs (wave and breath 20 ms, bar 70 ms).
std::chrono::milliseconds mouseEffectPause(std::uint8_t mode);

} // namespace zq::lighting
