#include <gtest/gtest.h>

#include "macros/cursor_path.h"

namespace zq::macros {
namespace {

TEST(CursorPathLayout, StepsOwnActionsThreeToFive) {
    EXPECT_EQ(stepActionIndex(0, StepPart::Pause), 3u);
    EXPECT_EQ(stepActionIndex(0, StepPart::MoveY), 5u);
    EXPECT_EQ(stepActionIndex(29, StepPart::Pause), 177u);
    EXPECT_EQ(stepActionIndex(kCursorPathSteps - 1, StepPart::MoveY), kCursorPathMaxActions - 1);
}

TEST(CursorPathStep, MovesByDirection) {
    EXPECT_EQ(formatActionLine(cursorMoveX({7, true})), "0,0,132,7,1,mouse_move_to_left_text");
    EXPECT_EQ(formatActionLine(cursorMoveX({7, false})), "0,0,4,7,0,mouse_move_to_right_text");
    EXPECT_EQ(formatActionLine(cursorMoveY({255, true})), "0,0,133,255,1,mouse_move_to_up_text");
    EXPECT_EQ(formatActionLine(cursorMoveY({0, false})), "0,0,5,0,0,mouse_move_to_down_text");
}

TEST(CursorPathStep, ApplyKeepsThePauseActionAndRoundTrips) {
    MacroAction pause = parseActionLine("1,0,138,4,1,keyboard_key_A");
    MacroAction x = parseActionLine("9,9,9,9,9,junk");
    MacroAction y;
    const CursorStep step{1000, {12, true}, {3, false}};
    applyCursorStep(step, pause, x, y);
    EXPECT_EQ(formatActionLine(pause), "232,3,138,4,1,keyboard_key_A");
    EXPECT_EQ(x.delay(), 0);
    EXPECT_EQ(cursorStepFrom(pause, x, y), step);
}

TEST(CursorPathStep, ReadsMovesByKindInEitherSlot) {
    const MacroAction pause = parseActionLine("20,0,0,0,0,");
    const CursorStep swapped = cursorStepFrom(pause, parseActionLine("0,0,133,4,1,mouse_move_to_up_text"),
                                              parseActionLine("0,0,4,9,0,mouse_move_to_right_text"));
    EXPECT_EQ(swapped, (CursorStep{20, {9, false}, {4, true}}));
    // Neither action a move: the step shows no movement.
    EXPECT_EQ(cursorStepFrom(pause, pause, pause), (CursorStep{20, {}, {}}));
}

TEST(EditorInput, ClampsToTheFieldRange) {
    EXPECT_EQ(clampDistanceInput("300"), 255);
    EXPECT_EQ(clampDistanceInput("255"), 255);
    EXPECT_EQ(clampDistanceInput("-4"), 0);
    EXPECT_EQ(clampDistanceInput(""), 0);
    EXPECT_EQ(clampDelayInput("70000"), 65535);
    EXPECT_EQ(clampDelayInput("65535"), 65535);
    EXPECT_EQ(clampDelayInput("99999999999999"), 65535);
    EXPECT_EQ(clampDelayInput("50"), 50);
}

} // namespace
} // namespace zq::macros
