// The cursor-path page on the real skin: the default files at start, slot and step selection, the step
// editor with its limits and texts, reset, import, export, and a path sent to the emulated mouse.
#include "macros/block_plan.h"
#include "macros/cursor_path.h"
#include "macros/cursor_path_files.h"
#include "macros/macro_files.h"
#include "page_fixture.h"
#include "platform/debug.h"
#include "platform/private_profile.h"

#include <fstream>
#include <iterator>
#include <string>

namespace zq::test {
namespace {

using macros::MacroAction;
using macros::parseActionLine;
namespace fs = std::filesystem;

class CursorPathTest : public PageFixture {
protected:
    fs::path mouseFolder() const { return dataFolder() / "ms"; }
    fs::path pathFile(int slot) const {
        return mouseFolder() / ("name_" + std::to_string(slot + 1) + ".cur");
    }
    MacroAction storedAction(int slot, std::size_t i) const {
        return parseActionLine(
            platform::readProfileString(pathFile(slot), "MACROACTION", std::to_string(i), "0"));
    }
    std::string read(const fs::path& file) const {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void step(int n) {
        page().option("ms_bullet_op_" + std::to_string(n)).setSelected(true, ui::Notify::Yes);
    }
    void type(const char* edit, const std::string& text) { page().edit(edit).setText(text, ui::Notify::Yes); }
    std::string shown(const char* edit) { return page().edit(edit).text(); }
};

TEST_F(CursorPathTest, StartCopiesTheDefaultPathsAndNamesThemInTheIndex) {
    const fs::path index = mouseFolder() / "msMacro.ini";
    EXPECT_EQ(platform::readProfileString(index, "CURSORCOUNT", "count", ""), "4");
    EXPECT_EQ(macros::readCursorPathNames(mouseFolder()),
              (std::vector<std::string>{"name_1", "name_2", "name_3", "name_4"}));
    for (int g = 0; g < 4; ++g) EXPECT_EQ(read(pathFile(g)), read(appFolder / pathFile(g).filename())) << g;
    EXPECT_FALSE(page().find("cursor_edit_layout").isEnabled()) << "no step is selected yet";
}

TEST_F(CursorPathTest, StepsLoadAndSaveTheirThreeActionsWithinTheLimits) {
    const MacroAction pauseBefore = storedAction(0, 177);
    step(29);
    EXPECT_TRUE(page().find("cursor_edit_layout").isEnabled());
    EXPECT_EQ(page().find("bullet_select_index").text(), "30");
    EXPECT_EQ(shown("ms_cursor_delay_eidt"), std::to_string(pauseBefore.delay()));

    type("ms_cursor_x_eidt", "300");
    EXPECT_EQ(shown("ms_cursor_x_eidt"), "255");
    page().option("ms_cursor_x_check").setSelected(true, ui::Notify::Yes);
    EXPECT_EQ(page().option("ms_cursor_x_check").textId(), "mouse_move_to_left_text");
    type("ms_cursor_delay_eidt", "70000");
    EXPECT_EQ(shown("ms_cursor_delay_eidt"), "65535");
    type("ms_cursor_y_eidt", "7");

    const MacroAction pause = storedAction(0, 177);
    EXPECT_EQ(pause.delay(), 65535);
    EXPECT_EQ(pause.type, pauseBefore.type) << "the pause keeps all but its delay";
    EXPECT_EQ(macros::formatActionLine(storedAction(0, 178)), "0,0,132,255,1,mouse_move_to_left_text");
    EXPECT_EQ(storedAction(0, 179).code, 7);
    EXPECT_EQ(storedAction(0, 179).type & 0x7F, 5);

    page().option("ms_cursor_x_check").setSelected(false, ui::Notify::Yes);
    EXPECT_EQ(page().option("ms_cursor_x_check").textId(), "mouse_move_to_right_text");
    EXPECT_EQ(macros::formatActionLine(storedAction(0, 178)), "0,0,4,255,0,mouse_move_to_right_text");
    EXPECT_EQ(macros::readMacroActionCount(pathFile(0)), 180u) << "the count is not changed";
}

TEST_F(CursorPathTest, PreviousNextAndTheSelectedStepClickedAgain) {
    page().click("bullet_selected_next");
    EXPECT_FALSE(page().find("cursor_edit_layout").isEnabled()) << "no step: nothing to move from";
    step(0);
    page().click("bullet_selected_prev");
    EXPECT_EQ(page().find("bullet_select_index").text(), "1");
    page().click("bullet_selected_next");
    EXPECT_EQ(page().find("bullet_select_index").text(), "2");
    EXPECT_FALSE(page().option("ms_bullet_op_0").selected());
    EXPECT_TRUE(page().option("ms_bullet_op_1").selected());
    step(29);
    page().click("bullet_selected_next");
    EXPECT_EQ(page().find("bullet_select_index").text(), "30");

    // The user's click on the selected step clears it.
    page().option("ms_bullet_op_29").setSelected(false, ui::Notify::Yes);
    EXPECT_FALSE(page().find("cursor_edit_layout").isEnabled());
}

TEST_F(CursorPathTest, SlotsEditTheirOwnFileAndResetBringsTheDefaultBack) {
    page().option("ms_gun_op_2").setSelected(true, ui::Notify::Yes);
    EXPECT_TRUE(page().option("ms_bullet_op_0").selected()) << "a slot starts at its first step";
    type("ms_cursor_y_eidt", "99");
    EXPECT_EQ(storedAction(2, 5).code, 99);
    EXPECT_NE(read(pathFile(2)), read(appFolder / "name_3.cur"));
    EXPECT_EQ(read(pathFile(0)), read(appFolder / "name_1.cur"));

    page().click("ms_bulletdate_reset_btn");
    EXPECT_EQ(read(pathFile(2)), read(appFolder / "name_3.cur"));
    EXPECT_NE(shown("ms_cursor_y_eidt"), "99");
}

TEST_F(CursorPathTest, ImportRefusesLongOrForeignFilesAndExportCopies) {
    page().option("ms_gun_op_1").setSelected(true, ui::Notify::Yes);
    const std::string before = read(pathFile(1));
    const fs::path outside = dataFolder() / "outside";
    fs::create_directories(outside);
    std::ofstream(outside / "long.cur") << "[MACROACTIONCOUNT]\ncount=181\n";
    std::ofstream(outside / "empty.cur");
    struct Case {
        const char* file;
        const char* message;
    };
    for (const Case& c :
         {Case{"long.cur", "message_text_18"}, Case{"empty.cur", "message_cursor_import_invalid"},
          Case{"missing.cur", "message_text_8"}}) {
        messages.clear();
        dialogs.answer((outside / c.file).string());
        page().click("ms_bulletdate_import_btn");
        EXPECT_EQ(messages.textIds(), (std::vector<std::string>{c.message})) << c.file;
        EXPECT_EQ(read(pathFile(1)), before) << c.file;
    }

    platform::clearDebugLines();
    dialogs.answer((outside / "out.cur").string());
    page().click("ms_bulletdate_export_btn");
    EXPECT_TRUE(platform::debugContains("1212"));
    EXPECT_EQ(read(outside / "out.cur"), before);
    EXPECT_EQ(dialogs.calls().back().request.filter, "(*.cur) | *.cur ||");

    std::vector<MacroAction> path(180);
    for (std::size_t i = 0; i < path.size(); ++i) path[i] = macros::cursorMoveX({9, true});
    ASSERT_TRUE(macros::writeCursorPathFile(outside / "good.cur", path));
    dialogs.answer((outside / "good.cur").string());
    page().click("ms_bulletdate_import_btn");
    EXPECT_EQ(read(pathFile(1)), read(outside / "good.cur"));
    EXPECT_EQ(shown("ms_cursor_x_eidt"), "9") << "the current step is loaded again";
}

TEST_F(CursorPathTest, AnEditedStepReachesTheMouseCursorArea) {
    step(0);
    type("ms_cursor_x_eidt", "42");
    page().click("ms_bulletdate_save_btn");
    EXPECT_FALSE(page().find("ms_bulletdate_save_btn").isEnabled()) << "one transfer at a time";
    settle();
    EXPECT_TRUE(page().find("ms_bulletdate_save_btn").isEnabled());

    const macros::BlockPlan plan = macros::planCursorPathTransfer(mouseFolder());
    ASSERT_EQ(plan.outcome, macros::BlockPlan::Outcome::Ready);
    const std::vector<std::uint8_t> area = device(device::DeviceClass::Mouse).cursorArea();
    ASSERT_GE(area.size(), plan.block.size());
    EXPECT_TRUE(std::equal(plan.block.begin(), plan.block.end(), area.begin()));
    // Path 0's record starts at 16 + 2·4; its action 4 (step 0's horizontal move) holds the distance.
    EXPECT_EQ(area[16 + 8 + 4 + 4 * 4 + 3], 42);
}

TEST_F(CursorPathTest, APathBlockOverTheLimitIsNotSent) {
    // Four paths of 181 actions: 16 + 24 + 4·724 = 2936 bytes fit; a fifth path name pushes it over.
    std::vector<MacroAction> longPath(180, macros::cursorMoveY({1, false}));
    for (int g = 0; g < 4; ++g) ASSERT_TRUE(macros::writeMacroFile(pathFile(g), longPath));
    ASSERT_TRUE(platform::writeProfileString(mouseFolder() / "msMacro.ini", "CURSORCOUNT", "count", "5"));
    ASSERT_TRUE(platform::writeProfileString(mouseFolder() / "msMacro.ini", "CURSORNAME", "4", "name_1"));
    const std::vector<std::uint8_t> before = device(device::DeviceClass::Mouse).cursorArea();
    page().click("ms_bulletdate_save_btn");
    settle();
    EXPECT_EQ(device(device::DeviceClass::Mouse).cursorArea(), before);
    EXPECT_TRUE(messages.shown().empty()) << "no message for a block over the limit";
}

} // namespace
} // namespace zq::test
