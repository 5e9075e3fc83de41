#pragma once
// The pad's effects (light modes 0-9) as pure functions of the lighting settings, the effect state and
// the time of the turn.
#include "lighting/colour_math.h"
#include "lighting/light_frame.h"
#include "lighting/reactive_flash.h"
#include "platform/clock.h"
#include "settings/lighting_settings.h"

#include <array>
#include <chrono>
#include <cstdint>

namespace zq::lighting {

struct PadEffectState {
    std::uint8_t wheelPhase = 0;
    std::uint8_t breathPhase = 0;
    std::int8_t bar = 0; // -1 .. 15
    bool barFalling = false;

    // Mode 5: each LED's own wheel phase and breath index; a negative index counts the turns the LED
    // still waits before it starts.
    bool flowStarted = false;
    std::array<std::uint8_t, kPadLeds> flowPhase{};
    std::array<std::int16_t, kPadLeds> flowLevel{};

    // Mode 7: the lit marquee groups, the shifts done on this pass, the pass direction and the pause.
    std::uint16_t marquee = 0x3F00;
    std::uint8_t marqueeShifts = 0;
    bool marqueeBack = false;
    bool marqueePausing = false;
    platform::Clock::TimePoint marqueePauseStart{};

    ReactiveFlash flash;
    // Mode 2 with the colour cycle: the wheel segment of the current breath. It travels in the block's
    // effect_state byte like the mouse's gradient-set counter.
    std::uint8_t breathColour = 0;
};

struct PadTurn {
    settings::LightingSettings lighting;
    bool clicked = false;
    platform::Clock::TimePoint now{};
};

// One turn of the effect of lighting.mode(); the frame is zeroed first. Frames are 45 bytes, 60 for modes
// 2, 3 and 8, and 0 (nothing sent) for mode 9 and any mode past it.
void renderPad(const PadTurn& turn, PadEffectState& state, LedFrame& out);

// The per-turn delay of PadDelay for a mode and speed (out-of-table values are pulled into the table),
// and the extra pause a mode takes before its effect (bar, flow, marquee).
std::chrono::milliseconds padTurnDelay(std::uint8_t mode, std::uint8_t speed);
std::chrono::milliseconds padEffectPause(std::uint8_t mode, std::uint8_t speed);

} // namespace zq::lighting
