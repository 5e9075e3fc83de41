#include "macros/cursor_path.h"

#include <algorithm>

namespace zq::macros {

namespace {

void readMove(const MacroAction& a, CursorStep& step) {
    if (a.hasKind(ActionKind::MoveX)) step.x = {a.code, a.pressBit()};
    if (a.hasKind(ActionKind::MoveY)) step.y = {a.code, a.pressBit()};
}

MacroAction makeMove(const CursorMove& move, ActionKind kind, std::string_view negativeName,
                     std::string_view positiveName) {
    MacroAction a;
    a.type = static_cast<std::uint8_t>(static_cast<std::uint8_t>(kind) | (move.negative ? kPressBit : 0));
    a.code = move.distance;
    a.pressed = move.negative ? 1 : 0;
    a.nameId.assign(move.negative ? negativeName : positiveName);
    return a;
}

} // namespace

CursorStep cursorStepFrom(const MacroAction& pause, const MacroAction& first, const MacroAction& second) {
    CursorStep step;
    step.delay = pause.delay();
    readMove(first, step);
    readMove(second, step);
    return step;
}

MacroAction cursorMoveX(const CursorMove& move) {
    return makeMove(move, ActionKind::MoveX, "mouse_move_to_left_text", "mouse_move_to_right_text");
}

MacroAction cursorMoveY(const CursorMove& move) {
    return makeMove(move, ActionKind::MoveY, "mouse_move_to_up_text", "mouse_move_to_down_text");
}

void applyCursorStep(const CursorStep& step, MacroAction& pause, MacroAction& moveX, MacroAction& moveY) {
    pause.setDelay(step.delay);
    moveX = cursorMoveX(step.x);
    moveY = cursorMoveY(step.y);
}

std::uint16_t clampDelayInput(std::string_view text) {
    return static_cast<std::uint16_t>(std::clamp<std::int32_t>(parseDecimal(text), 0, kMaxDelay));
}

std::uint8_t clampDistanceInput(std::string_view text) {
    return static_cast<std::uint8_t>(std::clamp<std::int32_t>(parseDecimal(text), 0, kMaxDistance));
}

} // namespace zq::macros
