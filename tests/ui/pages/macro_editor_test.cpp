// The macro editor of the mouse and keyboard pages on the real skin: lists, the editing state and its
// guards, the action list and editor, save and cancel, add, delete with the buttons' renumbering,
// rename, import and export, and the files each step leaves.
#include "macros/macro_files.h"
#include "page_fixture.h"
#include "platform/private_profile.h"
#include "settings/default_key_tables.h"
#include "settings/function_types.h"
#include "settings/keyboard_keys.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zq::test {
namespace {

using device::DeviceClass;
using macros::MacroFamily;
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const char* const kPressA = "120,0,138,4,1,keyboard_key_A";
const char* const kReleaseA = "0,0,10,4,0,keyboard_key_A";
const char* const kLeftPress = "50,0,129,1,1,mouse_key_left";

class MacroEditorTest : public PageFixture {
protected:
    fs::path folder(MacroFamily f = MacroFamily::Mouse) const {
        return dataFolder() / (f == MacroFamily::Mouse ? "ms" : "kb");
    }
    std::string p(MacroFamily f) const { return f == MacroFamily::Mouse ? "ms" : "kb"; }

    // Index and macro files as a user would have them, then the page start again.
    void seed(MacroFamily f, const std::vector<std::pair<std::string, std::vector<std::string>>>& macros) {
        fs::create_directories(folder(f));
        Names names;
        for (const auto& [name, lines] : macros) {
            names.push_back(name);
            if (!lines.empty()) {
                ASSERT_TRUE(macros::writeMacroFile(folder(f) / (name + ".mac"), lines));
            }
        }
        ASSERT_TRUE(macros::rewriteMacroIndex(folder(f), f, names));
        macroPages().start();
    }
    std::string read(const fs::path& file) const {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    Names index(MacroFamily f = MacroFamily::Mouse) const { return macros::readMacroIndex(folder(f), f); }
    Names stored(const std::string& name, MacroFamily f = MacroFamily::Mouse) const {
        return macros::readMacroLines(folder(f) / (name + ".mac"));
    }
    Names rows(MacroFamily f = MacroFamily::Mouse) {
        ui::ListLike list = page().list(p(f) + "_Macro_list");
        Names out;
        for (int i = 0; i < list.count(); ++i) out.push_back(list.itemData(i));
        return out;
    }
    Names comboItems(MacroFamily f = MacroFamily::Mouse) {
        ui::ListLike combo = page().combo(p(f) + "_key_fct_combo_23");
        Names out;
        for (int i = 0; i < combo.count(); ++i) out.push_back(combo.itemText(i));
        return out;
    }
    bool barShown(MacroFamily f = MacroFamily::Mouse) {
        return page().find(p(f) + "_macro_tab_saveorcancel").isVisible();
    }
    bool namesLocked(MacroFamily f = MacroFamily::Mouse) {
        return !page().find(p(f) + "_MacroName_list").isEnabled();
    }
    void clickRow(int row, MacroFamily f = MacroFamily::Mouse) {
        page().raise({ui::notify::kItemClick, p(f) + "_Macro_list", row, 0});
    }
    void type(const std::string& edit, const std::string& text) {
        page().edit(edit).setText(text, ui::Notify::Yes);
    }
    void selectMacro(int i, MacroFamily f = MacroFamily::Mouse) {
        page().list(p(f) + "_MacroName_list").select(i, ui::Notify::Yes);
    }
};

TEST_F(MacroEditorTest, StartListsTheIndexInBothListsAndLoadsTheLastMacro) {
    seed(MacroFamily::Mouse, {{"name_1", {kPressA}}, {"Reload", {kPressA, kReleaseA}}});
    EXPECT_EQ(macroPages().macroNames(DeviceClass::Mouse), (Names{"name_1", "Reload"}));
    EXPECT_EQ(comboItems(), (Names{"name_1", "Reload"}));
    EXPECT_EQ(page().list("ms_MacroName_list").current(), 1);
    EXPECT_EQ(page().edit("ms_macro_edit_macroname").text(), "Reload");
    EXPECT_EQ(rows(), (Names{kPressA, kReleaseA}));
    EXPECT_TRUE(page().find("ms_macro_btn_save").isEnabled());
    EXPECT_FALSE(barShown());
    EXPECT_EQ(page().combo("ms_macro_combo_keyselect").count(), 104);

    // The row display: name, state and delay labels with their styles.
    ui::ListLike list = page().list("ms_Macro_list");
    EXPECT_EQ(list.itemStyle(0), "macro_label_keyboard_style");
    EXPECT_EQ(list.cellStyle(0, 1), "macro_label_down_style");
    EXPECT_EQ(list.cellStyle(1, 1), "macro_label_up_style");
    EXPECT_EQ(list.cellText(0, 2), "120");

    seed(MacroFamily::Keyboard, {});
    EXPECT_TRUE(macroPages().macroNames(DeviceClass::Keyboard).empty());
    for (const char* c :
         {"kb_macro_btn_save", "kb_macro_btn_up", "kb_macro_btn_redio", "kb_macro_check_time"})
        EXPECT_FALSE(page().find(c).isEnabled()) << c;
}

TEST_F(MacroEditorTest, AddSkipsTakenNamesWritesTheIndexAndStopsAtFifty) {
    seed(MacroFamily::Mouse, {{"name_1", {}}, {"NAME_3", {}}});
    page().click("ms_macro_btn_name_add");
    EXPECT_EQ(index(), (Names{"name_1", "NAME_3", "name_4"})) << "name_3 is taken in any letter case";
    EXPECT_EQ(comboItems().back(), "name_4");
    EXPECT_EQ(page().list("ms_MacroName_list").current(), 2);
    EXPECT_EQ(page().list("ms_MacroName_list").itemStyle(2), "listex_item_style");
    EXPECT_FALSE(fs::exists(folder() / "name_4.mac")) << "no macro file before the first save";

    for (int i = 3; i < 50; ++i) page().click("ms_macro_btn_name_add");
    ASSERT_EQ(index().size(), 50u);
    messages.clear();
    page().click("ms_macro_btn_name_add");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_FALSE(messages.shown()[0].isTextId) << "a ready text formatted with the limit";
    EXPECT_NE(messages.shown()[0].text.find("50"), std::string::npos);
    EXPECT_EQ(index().size(), 50u);
}

TEST_F(MacroEditorTest, EditingLocksTheNamesAndEveryGuardHoldsTheUserOnThePage) {
    seed(MacroFamily::Mouse, {{"a", {kPressA}}, {"b", {kReleaseA}}});
    page().option("ms_tab").setSelected(true, ui::Notify::Yes);
    page().option("ms_macro_Op_tab").setSelected(true, ui::Notify::Yes);
    page().click("ms_macro_inset_leftkeydown_btn");
    ASSERT_TRUE(barShown());
    EXPECT_TRUE(namesLocked());
    messages.clear();

    page().click("ms_macro_btn_name_add");
    page().click("ms_macro_btn_name_sub");
    EXPECT_EQ(messages.textIds(), (Names{"message_text_3", "message_text_3"}));
    EXPECT_EQ(index(), (Names{"a", "b"}));

    // A selection change while editing would tie the actions on screen to another macro: it is undone.
    messages.clear();
    selectMacro(0);
    EXPECT_EQ(messages.textIds(), (Names{"message_text_4"}));
    EXPECT_EQ(page().list("ms_MacroName_list").current(), 1);
    EXPECT_EQ(rows().size(), 2u);

    // The window's navigation reads the same state.
    messages.clear();
    page().option("ms_deng_Op_tab").setSelected(true, ui::Notify::Yes);
    EXPECT_EQ(messages.textIds(), (Names{"message_text_3"}));
    EXPECT_TRUE(page().option("ms_macro_Op_tab").selected());

    page().click("ms_macro_btn_save");
    EXPECT_FALSE(barShown());
    EXPECT_FALSE(namesLocked());
    EXPECT_EQ(stored("b"), (Names{"50,0,129,1,1,mouse_key_left", kReleaseA}));
    EXPECT_EQ(platform::readProfileString(folder() / "b.mac", "MACROSELECTNAME", "name", ""), "b");
}

TEST_F(MacroEditorTest, ListOperationsMoveRowsAndEnterEditingOnlyWithSomethingToSave) {
    seed(MacroFamily::Mouse, {{"empty", {}}, {"m", {kPressA, kReleaseA, kLeftPress}}});
    ui::ListLike list = page().list("ms_Macro_list");
    list.select(2);
    page().click("ms_macro_btn_uptop");
    EXPECT_EQ(rows(), (Names{kLeftPress, kPressA, kReleaseA}));
    EXPECT_EQ(list.current(), 0);
    EXPECT_TRUE(barShown());
    page().click("ms_macro_btn_up"); // row 0: nothing moves, still editing
    page().click("ms_macro_btn_downbottom");
    EXPECT_EQ(rows(), (Names{kPressA, kReleaseA, kLeftPress}));
    EXPECT_EQ(list.current(), 2);
    page().click("ms_macro_btn_down"); // last row: nothing
    page().click("ms_macro_btn_delete");
    EXPECT_EQ(rows(), (Names{kPressA, kReleaseA}));
    EXPECT_EQ(list.current(), -1);
    page().click("ms_macro_btn_cancel");
    EXPECT_EQ(rows(), (Names{kPressA, kReleaseA, kLeftPress})) << "cancel loads the stored macro again";
    EXPECT_FALSE(barShown());

    // Delete all on a clean macro is a change to save or cancel: the bar shows for it, so the names are
    // never locked without a way out.
    page().click("ms_macro_btn_deleteall");
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(barShown());
    EXPECT_TRUE(namesLocked());
    page().click("ms_macro_btn_save");
    EXPECT_TRUE(stored("m").empty());

    // An operation on an empty list changes nothing and leaves the page clean.
    selectMacro(0);
    page().click("ms_macro_btn_up");
    page().click("ms_macro_btn_deleteall");
    EXPECT_FALSE(barShown());
    EXPECT_FALSE(namesLocked());
}

TEST_F(MacroEditorTest, RowClickOpensTheEditorAndEachChangeRewritesTheLine) {
    seed(MacroFamily::Mouse, {{"m", {kPressA, kLeftPress, "50,0,132,20,1,mouse_move_to_left_text"}}});
    ui::ListLike list = page().list("ms_Macro_list");
    list.select(0);
    clickRow(0);
    EXPECT_TRUE(barShown());
    EXPECT_EQ(page().tabs("ms_tab_macro_edit").current(), 1);
    EXPECT_EQ(page().combo("ms_macro_combo_keyselect").current(), 8) << "keyboard_key_A is key row 8";
    EXPECT_EQ(page().combo("ms_macro_combo_upordown").current(), 1);
    EXPECT_EQ(page().edit("ms__macro_edit_ActionDelay").text(), "120");

    page().combo("ms_macro_combo_upordown").select(0, ui::Notify::Yes);
    EXPECT_EQ(list.itemData(0), "120,0,10,4,0,keyboard_key_A") << "0x8A becomes 0x0A";
    page().combo("ms_macro_combo_keyselect").select(9, ui::Notify::Yes);
    EXPECT_EQ(list.itemData(0), "120,0,10,5,0,keyboard_key_B") << "a release stays a release";
    type("ms__macro_edit_ActionDelay", "70000");
    EXPECT_EQ(page().edit("ms__macro_edit_ActionDelay").text(), "65535");
    EXPECT_EQ(list.itemData(0), "255,255,10,5,0,keyboard_key_B");
    EXPECT_EQ(list.cellText(0, 2), "65535");

    list.select(1);
    clickRow(1);
    EXPECT_EQ(page().tabs("ms_tab_macro_edit").current(), 2);
    EXPECT_EQ(page().combo("ms_macro_combo_mouselect").current(), 0);
    EXPECT_FALSE(page().find("ms_macro_tab_mou_pointer_skewing").isVisible());
    page().combo("ms_macro_combo_mouselect").select(10, ui::Notify::Yes);
    EXPECT_EQ(list.itemData(1), "50,0,132,0,1,mouse_move_to_left_text") << "a button turned move: distance 0";
    EXPECT_TRUE(page().find("ms_macro_tab_mou_pointer_skewing").isVisible());
    type("ms_macro_edit_mou_pointer_skewing", "300");
    EXPECT_EQ(page().edit("ms_macro_edit_mou_pointer_skewing").text(), "255");
    EXPECT_EQ(list.itemData(1), "50,0,132,255,1,mouse_move_to_left_text");
    EXPECT_EQ(list.cellText(1, 1), "255");

    list.select(2);
    clickRow(2);
    EXPECT_EQ(page().combo("ms_macro_combo_mouselect").current(), 10);
    EXPECT_EQ(page().edit("ms_macro_edit_mou_pointer_skewing").text(), "20");
    page().combo("ms_macro_combo_mouselect").select(13, ui::Notify::Yes);
    EXPECT_EQ(list.itemData(2), "50,0,5,20,1,mouse_move_to_down_text") << "a move keeps its distance";
    page().combo("ms_macro_combo_mouselect").select(3, ui::Notify::Yes);
    EXPECT_EQ(list.itemData(2), "50,0,1,2,0,mouse_key_right");
}

TEST_F(MacroEditorTest, InsertButtonsAddRowsWhereTheSelectionIs) {
    seed(MacroFamily::Mouse, {{"m", {}}});
    type("ms_mouse_x_right_edit", "999");
    EXPECT_EQ(page().edit("ms_mouse_x_right_edit").text(), "255");
    page().click("ms_macro_inset_moverightkey_btn");
    EXPECT_EQ(rows(), (Names{"50,0,4,255,0,mouse_move_to_right_text"}));
    EXPECT_EQ(page().list("ms_Macro_list").current(), 0);
    EXPECT_TRUE(barShown());
    page().click("ms_macro_inset_backkeyup_btn");
    EXPECT_EQ(rows(), (Names{"50,0,1,8,0,mouse_key_back", "50,0,4,255,0,mouse_move_to_right_text"}));
    EXPECT_EQ(page().list("ms_Macro_list").current(), 1) << "the row that was selected stays selected";

    // Group buttons: one sub-panel open at a time, a second click closes it.
    page().click("ms_macro_inset_leftkey_btn");
    page().click("ms_macro_inset_rightkey_btn");
    EXPECT_FALSE(page().find("ms_macro_inset_leftkey_tab").isVisible());
    EXPECT_TRUE(page().find("ms_macro_inset_rightkey_tab").isVisible());
    page().click("ms_macro_inset_rightkey_btn");
    EXPECT_FALSE(page().find("ms_macro_inset_rightkey_tab").isVisible());
    page().option("ms_macro_btn_shubiao").setSelected(true, ui::Notify::Yes);
    EXPECT_TRUE(page().find("ms_MacroMouseEvent").isVisible());
    EXPECT_FALSE(page().find("ms_MacroName").isVisible());
    page().click("ms_macro_btn_save");
    EXPECT_TRUE(page().find("ms_MacroName").isVisible()) << "the mouse page's save shows the names again";
}

// Deleting macro 1 of three: a button on macro 2 now runs macro 1, a button on macro 1 gets its default.
TEST_F(MacroEditorTest, DeleteRenumbersTheButtonsOfEveryCachedPage) {
    seed(MacroFamily::Mouse, {{"m0", {kPressA}}, {"m1", {kReleaseA}}, {"m2", {kLeftPress}}});
    auto& pages = state.mouse.keyPages;
    pages[0][3 * 2] = settings::fn::kMacro; // button 2 runs macro 2
    pages[0][3 * 2 + 1] = 2;
    pages[3][3 * 4] = settings::fn::kMacroRepeat; // button 4 on another page runs macro 1
    pages[3][3 * 4 + 1] = 1;
    pages[3][3 * 4 + 2] = 5;
    selectMacro(1);

    messages.answer(0); // "message_text_2": keep it
    page().click("ms_macro_btn_name_sub");
    EXPECT_EQ(messages.textIds(), (Names{"message_text_2"}));
    EXPECT_EQ(index().size(), 3u);

    messages.clear();
    messages.answer(1);
    messages.answer(1);
    page().click("ms_macro_btn_name_sub");
    EXPECT_EQ(messages.textIds(), (Names{"message_text_2", "message_text_4"}));
    EXPECT_EQ(index(), (Names{"m0", "m2"}));
    EXPECT_FALSE(fs::exists(folder() / "m1.mac"));
    EXPECT_EQ(comboItems(), (Names{"m0", "m2"}));
    EXPECT_EQ(page().list("ms_MacroName_list").current(), 0);
    EXPECT_EQ(rows(), (Names{kPressA})) << "macro 0 is selected and loaded";
    EXPECT_EQ(pages[0][3 * 2 + 1], 1) << "macro 2 is now macro 1";
    const settings::KeyEntry def = settings::defaultKeyTableForSlot(state.mouse.slot()).entry(4);
    EXPECT_EQ(pages[3][3 * 4], def.type);
    EXPECT_EQ(pages[3][3 * 4 + 1], def.p1);
    EXPECT_EQ(platform::readProfileString(folder() / "msMacro.ini", "CURSORCOUNT", "count", ""), "4");

    messages.setDefaultAnswer(1);
    page().click("ms_macro_btn_name_sub");
    page().click("ms_macro_btn_name_sub");
    EXPECT_TRUE(index().empty());
    EXPECT_FALSE(page().find("ms_macro_btn_save").isEnabled()) << "no macro left: nothing to edit";
}

TEST_F(MacroEditorTest, KeyboardDeleteAsksAboutPageZeroOnlyAndKeepsNoCursorSections) {
    seed(MacroFamily::Keyboard, {{"k0", {}}, {"k1", {}}});
    state.keyboard.keyPages[2][1] = 0; // a macro entry for macro 0 on page 2 only
    state.keyboard.keyPages[2][0] = settings::fn::kMacro;
    selectMacro(0, MacroFamily::Keyboard);
    messages.answer(1);
    page().click("kb_macro_btn_name_sub");
    EXPECT_EQ(messages.textIds(), (Names{"message_text_4"}));
    EXPECT_EQ(index(MacroFamily::Keyboard), (Names{"k1"}));
    EXPECT_EQ(state.keyboard.keyPages[2][0], settings::kKeyboardDefaultKeyTable.entry(0).type);
    EXPECT_EQ(
        platform::readProfileKeyNames(folder(MacroFamily::Keyboard) / "kbMacro.ini", "CURSORNAME").size(),
        0u);
}

TEST_F(MacroEditorTest, RenameMovesTheFileOrChangesNothing) {
    seed(MacroFamily::Mouse, {{"Fire", {kPressA}}, {"Other", {}}});
    selectMacro(0);
    ui::Edit edit = page().edit("ms_macro_edit_macroname");
    auto renameTo = [&](const std::string& name) {
        edit.setText(name);
        page().raise({ui::notify::kKillFocus, "ms_macro_edit_macroname"});
    };
    const std::string before = read(folder() / "Fire.mac");

    renameTo("fire");
    EXPECT_TRUE(messages.shown().empty()) << "the same name in another letter case";
    EXPECT_EQ(index(), (Names{"Fire", "Other"}));

    // An unsaved change on screen must not reach the old file when the rename cannot happen.
    page().click("ms_macro_btn_deleteall");
    std::ofstream(folder() / "STRAY.mac") << "stray";
    struct Case {
        std::string name;
        const char* message;
    };
    for (const Case& c :
         {Case{"other", "message_text_5"}, Case{"stray", "message_macro_rename_failed"},
          Case{"a/b", "message_macro_name_invalid"}, Case{"..", "message_macro_name_invalid"}}) {
        messages.clear();
        renameTo(c.name);
        EXPECT_EQ(messages.textIds(), (Names{c.message})) << c.name;
        EXPECT_EQ(edit.text(), "Fire") << c.name;
        EXPECT_EQ(index(), (Names{"Fire", "Other"})) << c.name;
        EXPECT_EQ(comboItems(), (Names{"Fire", "Other"})) << c.name;
        EXPECT_EQ(read(folder() / "Fire.mac"), before) << c.name;
    }
    EXPECT_EQ(read(folder() / "STRAY.mac"), "stray");

    messages.clear();
    renameTo("  Burst ");
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(index(), (Names{"Burst", "Other"}));
    EXPECT_EQ(comboItems(), (Names{"Burst", "Other"}));
    EXPECT_EQ(page().list("ms_MacroName_list").itemData(0), "Burst");
    EXPECT_FALSE(fs::exists(folder() / "Fire.mac"));
    EXPECT_TRUE(stored("Burst").empty()) << "the list on screen goes into the renamed file";
    EXPECT_EQ(platform::readProfileString(folder() / "Burst.mac", "MACROSELECTNAME", "name", ""), "Burst");
    EXPECT_TRUE(barShown()) << "the editing state is not changed";

    // A macro never saved has no file: the rename writes one under the new name.
    page().click("ms_macro_btn_cancel");
    selectMacro(1);
    renameTo("Second");
    EXPECT_EQ(index(), (Names{"Burst", "Second"}));
    EXPECT_TRUE(fs::exists(folder() / "Second.mac"));
}

TEST_F(MacroEditorTest, ImportChecksTheFileBeforeAddingAndExportCopiesTheStoredFile) {
    seed(MacroFamily::Mouse, {{"m", {kPressA, kReleaseA}}});
    const fs::path outside = dataFolder() / "outside";
    fs::create_directories(outside);

    dialogs.answer((outside / "m.mac").string());
    page().click("ms_macro_btn_export");
    EXPECT_EQ(read(outside / "m.mac"), read(folder() / "m.mac"));
    ASSERT_FALSE(dialogs.calls().empty());
    EXPECT_EQ(dialogs.calls().back().request.defaultExtension, "mac");
    EXPECT_EQ(dialogs.calls().back().request.filter, "(*.mac) | *.mac ||");

    std::ofstream(outside / "junk.mac") << "hello";
    std::string tooLong = "[MACROACTIONCOUNT]\ncount=181\n";
    std::ofstream(outside / "long.mac") << tooLong;
    dialogs.answer((outside / "junk.mac").string());
    page().click("ms_macro_btn_import");
    EXPECT_EQ(messages.textIds(), (Names{"message_macro_import_invalid"}));
    dialogs.answer((outside / "long.mac").string());
    page().click("ms_macro_btn_import");
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_NE(messages.shown()[1].text.find("180"), std::string::npos);
    EXPECT_EQ(index(), (Names{"m"})) << "a refused file adds no macro";

    dialogs.answer((outside / "m.mac").string());
    page().click("ms_macro_btn_import");
    EXPECT_EQ(index(), (Names{"m", "name_2"}));
    EXPECT_EQ(read(folder() / "name_2.mac"), read(folder() / "m.mac"));
    EXPECT_EQ(rows(), (Names{kPressA, kReleaseA})) << "the imported macro is loaded";
}

TEST_F(MacroEditorTest, ImportWithFiftyMacrosChangesNoFile) {
    std::vector<std::pair<std::string, std::vector<std::string>>> fifty;
    for (int i = 0; i < 50; ++i) {
        std::string name = "n"; // appended, not "n" + ...: GCC 12 at -O3 warns (-Wrestrict) on that
        name += std::to_string(i);
        fifty.push_back({name, {}});
    }
    seed(MacroFamily::Mouse, fifty);
    const std::string indexBefore = read(folder() / "msMacro.ini");
    std::ofstream(dataFolder() / "in.mac") << "[MACROACTIONCOUNT]\ncount=0\n";
    dialogs.answer((dataFolder() / "in.mac").string());
    page().click("ms_macro_btn_import");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_NE(messages.shown()[0].text.find("50"), std::string::npos);
    EXPECT_EQ(read(folder() / "msMacro.ini"), indexBefore);
}

TEST_F(MacroEditorTest, KeyboardSaveWritesNoSelectName) {
    seed(MacroFamily::Keyboard, {{"k", {}}});
    page().click("kb_macro_inset_leftkeydown_btn");
    EXPECT_TRUE(barShown(MacroFamily::Keyboard));
    page().click("kb_macro_btn_save");
    EXPECT_EQ(stored("k", MacroFamily::Keyboard), (Names{"50,0,129,1,1,mouse_key_left"}));
    EXPECT_TRUE(
        platform::readProfileKeyNames(folder(MacroFamily::Keyboard) / "k.mac", "MACROSELECTNAME").empty());
    EXPECT_EQ(macroPages().macroNames(DeviceClass::Keyboard), (Names{"k"}));
}

} // namespace
} // namespace zq::test
