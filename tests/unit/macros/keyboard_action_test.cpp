#include <gtest/gtest.h>

#include "macros/keyboard_action.h"

namespace zq::macros {
namespace {

TEST(KeyboardAction, FromKeyRows) {
    EXPECT_EQ(macroKeyRowCount(), 104u);
    struct Case {
        std::size_t row;
        bool press;
        const char* line;
    };
    const Case cases[] = {
        {0, true, "0,0,137,1,1,keyboard_key_LCtrl"},   {7, false, "0,0,9,128,0,keyboard_key_RWin"},
        {8, true, "0,0,138,4,1,keyboard_key_A"},       {8, false, "0,0,10,4,0,keyboard_key_A"},
        {103, true, "0,0,138,101,1,keyboard_key_App"},
    };
    for (const Case& c : cases) {
        const auto a = keyboardActionFromRow(c.row, c.press);
        ASSERT_TRUE(a) << c.row;
        EXPECT_EQ(formatActionLine(*a), c.line);
        EXPECT_EQ(keyRowOf(*a), c.row) << c.line;
    }
    EXPECT_FALSE(keyboardActionFromRow(104, true)) << "consumer keys are no macro keys";
}

TEST(KeyboardAction, RowOfOtherKinds) {
    EXPECT_FALSE(keyRowOf(parseActionLine("0,0,129,1,1,mouse_key_left")));
    EXPECT_FALSE(keyRowOf(parseActionLine("0,0,138,255,1,unknown")));
}

TEST(KeyboardAction, Recorded) {
    const auto a = recordedKeyAction(0x41, 0, true);
    ASSERT_TRUE(a);
    EXPECT_EQ(formatActionLine(*a), "0,0,138,4,1,keyboard_key_A");
    EXPECT_EQ(recordedKeyAction(0x0D, 0, true)->nameId, "keyboard_key_Enter");
    EXPECT_EQ(recordedKeyAction(0x0D, 1, true)->nameId, "keyboard_key_Num Enter");
    EXPECT_EQ(recordedKeyAction(0x0D, 129, false)->nameId, "keyboard_key_Num Enter");
    EXPECT_EQ(recordedKeyAction(0xA0, 128, false)->type, 0x09) << "LShift release";
    EXPECT_FALSE(recordedKeyAction(0xB3, 0, true)) << "a media key";
    EXPECT_FALSE(recordedKeyAction(0xFF, 0, true));
}

} // namespace
} // namespace zq::macros
