#include <gtest/gtest.h>

#include "macros/mouse_action_table.h"

namespace zq::macros {
namespace {

TEST(MouseMacroActionTable, Shape) {
    ASSERT_EQ(kMouseMacroActionTable.size(), 14u);
    for (std::size_t row = 0; row < kFirstMoveRow; ++row) {
        const auto& r = kMouseMacroActionTable[row];
        // Even rows press, odd rows release the same button.
        EXPECT_EQ(r.type, row % 2 == 0 ? 0x81 : 0x01) << row;
        EXPECT_NE(r.windowMessage, 0u) << row;
        if (row % 2 == 1) {
            EXPECT_EQ(r.code, kMouseMacroActionTable[row - 1].code) << row;
        }
    }
    EXPECT_EQ(kMouseMacroActionTable[6].nameId, "mouse_key_forward");
    EXPECT_EQ(kMouseMacroActionTable[6].code, 0x10);
    EXPECT_EQ(kMouseMacroActionTable[8].nameId, "mouse_key_back");
    EXPECT_EQ(kMouseMacroActionTable[8].code, 0x08);
    EXPECT_EQ(kMouseMacroActionTable[10].type, 0x84);
    EXPECT_EQ(kMouseMacroActionTable[13].type, 0x05);
    EXPECT_EQ(kMouseMacroActionTable[13].nameId, "mouse_move_to_down_text");
}

TEST(MouseMacroActionTable, InsertedActions) {
    const auto press = mouseActionFromRow(2);
    ASSERT_TRUE(press);
    EXPECT_EQ(press->delay(), 50);
    EXPECT_EQ(press->type, 0x81);
    EXPECT_EQ(press->code, 0x02);
    EXPECT_EQ(press->pressed, 1);
    EXPECT_EQ(press->nameId, "mouse_key_right");

    EXPECT_EQ(mouseActionFromRow(9, 77)->code, 0x08) << "buttons ignore the distance";
    const auto up = mouseActionFromRow(12, 200);
    EXPECT_EQ(up->type, 0x85);
    EXPECT_EQ(up->code, 200);
    EXPECT_EQ(up->pressed, 1);
    EXPECT_EQ(mouseActionFromRow(13, 3)->pressed, 0);
    EXPECT_FALSE(mouseActionFromRow(14));
}

TEST(MouseMacroActionTable, RecorderKnowsOnlyLeftRightMiddle) {
    EXPECT_EQ(recordableMouseRow(kMsgLeftDown), 0u);
    EXPECT_EQ(recordableMouseRow(kMsgRightUp), 3u);
    EXPECT_EQ(recordableMouseRow(kMsgMiddleUp), 5u);
    EXPECT_FALSE(recordableMouseRow(kMsgExtraDown));
    EXPECT_FALSE(recordableMouseRow(0x20A)); // wheel
    EXPECT_FALSE(recordableMouseRow(0));
}

TEST(MouseMacroActionTable, RowOfAnAction) {
    auto row = [](int type, int code) {
        MacroAction a;
        a.type = static_cast<std::uint8_t>(type);
        a.code = static_cast<std::uint8_t>(code);
        return mouseTableRowOf(a);
    };
    EXPECT_EQ(row(0x01, 0x01), 1u);
    EXPECT_EQ(row(0x81, 0x08), 8u);
    EXPECT_EQ(row(0x84, 0x01), 10u) << "a left move of 1 is not the left button";
    EXPECT_EQ(row(0x04, 0), 11u);
    EXPECT_EQ(row(0x85, 9), 12u);
    EXPECT_EQ(row(0x05, 9), 13u);
    EXPECT_FALSE(row(0x81, 0x20));
    EXPECT_FALSE(row(0x8A, 4));
}

} // namespace
} // namespace zq::macros
