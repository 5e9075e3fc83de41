#include <gtest/gtest.h>

#include <climits>

#include "macros/macro_action.h"

namespace zq::macros {
namespace {

struct LineCase {
    const char* line;
    MacroAction expected;
};

MacroAction act(int lo, int hi, int type, int code, int pressed, const char* name) {
    MacroAction a;
    a.delayLow = static_cast<std::uint8_t>(lo);
    a.delayHigh = static_cast<std::uint8_t>(hi);
    a.type = static_cast<std::uint8_t>(type);
    a.code = static_cast<std::uint8_t>(code);
    a.pressed = static_cast<std::uint16_t>(pressed);
    a.nameId = name;
    return a;
}

class ParseActionLine : public testing::TestWithParam<LineCase> {};

TEST_P(ParseActionLine, GivesFields) {
    EXPECT_EQ(parseActionLine(GetParam().line), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseActionLine,
    testing::Values(
        LineCase{"0,0,138,4,1,keyboard_key_A", act(0, 0, 0x8A, 4, 1, "keyboard_key_A")},
        LineCase{"120,0,138,4,1,keyboard_key_A", act(120, 0, 0x8A, 4, 1, "keyboard_key_A")},
        LineCase{"44,1,1,1,0,mouse_key_left", act(44, 1, 0x01, 1, 0, "mouse_key_left")},
        LineCase{"50,0,132,20,1,mouse_move_to_left_text", act(50, 0, 0x84, 20, 1, "mouse_move_to_left_text")},
        // Every number is cut to its field's width; pressed is 16 bits wide.
        LineCase{"300,0,138,4,1,keyboard_key_A", act(44, 0, 0x8A, 4, 1, "keyboard_key_A")},
        LineCase{"0,256,394,260,65537,x", act(0, 0, 138, 4, 1, "x")},
        LineCase{"-1,0,0,0,-1,x", act(255, 0, 0, 0, 65535, "x")},
        // Beyond int range the number sticks at the end of the range before truncation.
        LineCase{"99999999999,0,0,0,0,x", act(0xFF, 0, 0, 0, 0, "x")},
        LineCase{"-99999999999,0,0,0,0,x", act(0x00, 0, 0, 0, 0, "x")},
        // Blanks and a sign before a number, junk after it.
        LineCase{"  +7,\t2,1x,abc,1 ,mouse_key_left", act(7, 2, 1, 0, 1, "mouse_key_left")},
        // Right to left: extra fields end up in front of delayLow, whose text reads its leading number.
        LineCase{"9,8,7,6,5,4,name", act(9, 7, 6, 5, 4, "name")},
        // The name is whatever follows the last comma, blanks included.
        LineCase{"1,0,10,4,0,keyboard_key_Num Enter", act(1, 0, 10, 4, 0, "keyboard_key_Num Enter")},
        LineCase{"1,0,10,4,0,", act(1, 0, 10, 4, 0, "")},
        // Cut short: what is there counts from the left, the rest is 0 and the name empty.
        LineCase{"0", act(0, 0, 0, 0, 0, "")}, LineCase{"", act(0, 0, 0, 0, 0, "")},
        LineCase{"120,0,138,4,1", act(120, 0, 138, 4, 1, "")}, LineCase{"5,1", act(5, 1, 0, 0, 0, "")},
        LineCase{",,,,,", act(0, 0, 0, 0, 0, "")}));

TEST(ActionLine, FormatsAndRoundTrips) {
    const MacroAction a = act(44, 1, 0x81, 1, 1, "mouse_key_left");
    EXPECT_EQ(formatActionLine(a), "44,1,129,1,1,mouse_key_left");
    EXPECT_EQ(parseActionLine(formatActionLine(a)), a);
    EXPECT_EQ(formatActionLine(act(255, 255, 255, 255, 65535, "")), "255,255,255,255,65535,");
}

TEST(ActionLine, DelayJoinsTwoBytes) {
    MacroAction a;
    a.setDelay(300);
    EXPECT_EQ(a.delayLow, 44);
    EXPECT_EQ(a.delayHigh, 1);
    EXPECT_EQ(a.delay(), 300);
    a.setDelay(65535);
    EXPECT_EQ(formatActionLine(a), "255,255,0,0,0,");
}

TEST(ParseDecimal, ReadsLikeTheFilesDo) {
    EXPECT_EQ(parseDecimal(" 12ab"), 12);
    EXPECT_EQ(parseDecimal("-0"), 0);
    EXPECT_EQ(parseDecimal("--1"), 0);
    EXPECT_EQ(parseDecimal("2147483647"), INT_MAX);
    EXPECT_EQ(parseDecimal("2147483648"), INT_MAX);
    EXPECT_EQ(parseDecimal("-2147483648"), INT_MIN);
    EXPECT_EQ(parseDecimal(std::string(400, '9')), INT_MAX);
}

} // namespace
} // namespace zq::macros
