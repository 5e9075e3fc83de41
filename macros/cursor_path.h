#pragma once
// Cursor-path (recoil) macros: four fixed paths of the mouse, each a macro file of at most 180 actions
// divided into 30 steps. Step b owns actions 6b+3 (the pause: only its delay is the step's), 6b+4 and
// 6b+5 (a horizontal and a vertical move). The other actions come from the default files and are
// carried unchanged.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "macros/macro_action.h"

namespace zq::macros {

inline constexpr std::size_t kCursorPathSlots = 4;
inline constexpr std::size_t kCursorPathSteps = 30;
inline constexpr std::size_t kCursorPathMaxActions = 180;
// A cursor-path block larger than this is not sent.
inline constexpr std::uint64_t kCursorPathBlockLimit = 3072;

inline constexpr std::size_t kStepFirstAction = 3;
inline constexpr std::size_t kActionsPerStep = 6;
enum class StepPart : std::size_t { Pause = 0, MoveX = 1, MoveY = 2 };

constexpr std::size_t stepActionIndex(std::size_t step, StepPart part) {
    return kActionsPerStep * step + kStepFirstAction + static_cast<std::size_t>(part);
}

// The cursor-path file names, "name_1" … "name_4" (the index stores them under CURSORNAME 0-3).
inline constexpr std::array<std::string_view, kCursorPathSlots> kCursorPathNames{"name_1", "name_2", "name_3",
                                                                                 "name_4"};
inline constexpr std::string_view kCursorPathExtension = ".cur";

struct CursorMove {
    std::uint8_t distance = 0;
    bool negative = false; // left for X, up for Y
    bool operator==(const CursorMove&) const = default;
};

struct CursorStep {
    std::uint16_t delay = 0;
    CursorMove x;
    CursorMove y;
    bool operator==(const CursorStep&) const = default;
};

// What the step editor shows for the three actions of a step. The moves are found by kind (4 → X,
// 5 → Y) in either of the two move actions; a move that is not there reads as distance 0 to the right
// or down.
CursorStep cursorStepFrom(const MacroAction& pause, const MacroAction& first, const MacroAction& second);

// Writes a step into its three actions: the pause keeps everything but its delay; the moves get delay 0,
// the move's type, distance, name id and pressed flag.
void applyCursorStep(const CursorStep& step, MacroAction& pause, MacroAction& moveX, MacroAction& moveY);

// The move actions on their own, as the step editor writes them.
MacroAction cursorMoveX(const CursorMove& move);
MacroAction cursorMoveY(const CursorMove& move);

// Values typed into the step and action editors: above the field's maximum they become the maximum,
// below zero they become zero.
std::uint16_t clampDelayInput(std::string_view text);
std::uint8_t clampDistanceInput(std::string_view text);

} // namespace zq::macros
