#include <gtest/gtest.h>

#include "macros/action_row.h"

namespace zq::macros {
namespace {

TEST(ActionRow, LabelsByKind) {
    struct Case {
        const char* line;
        const char* nameStyle;
        const char* stateText;
        const char* stateStyle;
        const char* delay;
    };
    const Case cases[] = {
        {"120,0,138,4,1,keyboard_key_A", "macro_label_keyboard_style", "", "macro_label_down_style", "120"},
        {"0,0,9,1,0,keyboard_key_LCtrl", "macro_label_keyboard_style", "", "macro_label_up_style", "0"},
        {"44,1,129,1,1,mouse_key_left", "macro_label_mouse_style", "", "macro_label_down_style", "300"},
        {"50,0,132,20,1,mouse_move_to_left_text", "macro_label_mouse_style", "20", "macro_label_text_style",
         "50"},
        {"0,0,5,0,0,mouse_move_to_down_text", "macro_label_mouse_style", "0", "macro_label_text_style", "0"},
    };
    for (const Case& c : cases) {
        const ActionRow row = buildActionRow(parseActionLine(c.line));
        EXPECT_EQ(row.name.text, parseActionLine(c.line).nameId) << c.line;
        EXPECT_EQ(row.name.style, c.nameStyle) << c.line;
        EXPECT_EQ(row.state.text, c.stateText) << c.line;
        EXPECT_EQ(row.state.style, c.stateStyle) << c.line;
        EXPECT_EQ(row.delay.text, c.delay) << c.line;
        EXPECT_EQ(row.delay.style, "macro_label_text_style") << c.line;
    }
}

TEST(ActionRow, RecorderForm) {
    const RecorderRow press = buildRecorderRow(parseActionLine("7,0,129,2,1,mouse_key_right"));
    EXPECT_EQ(press.nameId, "mouse_key_right");
    EXPECT_EQ(press.state, "\u25BC");
    EXPECT_EQ(press.delay, "7");
    EXPECT_EQ(buildRecorderRow(parseActionLine("0,0,1,2,0,mouse_key_right")).state, "\u25B2");
}

} // namespace
} // namespace zq::macros
