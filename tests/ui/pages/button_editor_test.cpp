// The mouse's button editor on the real skin: the left-click guard, building entries from every category
// and showing them back, the edit limits, the labels, the key capture through the injected backend, and
// an assignment saved to the emulated mouse.
#include "page_fixture.h"

#include "platform/data_folders.h"
#include "platform/private_profile.h"
#include "settings/default_key_tables.h"
#include "settings/key_entry.h"
#include "shell/save_to_device.h"

namespace zq::test {
namespace {

using device::DeviceClass;
using settings::KeyAssignmentTable;
using settings::KeyEntry;

class ButtonEditorTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        if (HasFatalFailure()) return;
        state.mouse.current[0] = 0;
        setTable(settings::kDefaultKeyTables[0]);
    }

    settings::pages::ButtonEditor& editor() { return settingsPages().buttons; }
    void setTable(const KeyAssignmentTable& t) {
        state.mouse.keyPages[0] = t.bytes;
        editor().refresh();
    }
    KeyEntry entry(std::size_t i) {
        KeyAssignmentTable t;
        t.bytes = state.mouse.keyPages[0];
        return t.entry(i);
    }
    void setEntry(std::size_t i, KeyEntry e) {
        KeyAssignmentTable t;
        t.bytes = state.mouse.keyPages[0];
        t.setEntry(i, e);
        setTable(t);
    }
    // As the user clicks a button on the picture (it may be the one selected already).
    void pick(int button) { select("ms_key_" + std::to_string(button)); }
    void select(const std::string& option) {
        page().option(option).setSelected(true);
        page().raise({ui::notify::kSelectChanged, option});
    }
    void chooseCategory(int k) {
        page().combo("ms_key_fct_combo").select(k);
        page().raise({ui::notify::kItemSelect, "ms_key_fct_combo", k, 0});
    }
    void choose(int combo, int index) {
        const std::string name = "ms_key_fct_combo_" + std::to_string(combo);
        page().combo(name).select(index);
        page().raise({ui::notify::kItemSelect, name, index, 0});
    }
    void type(int edit, std::string_view text) {
        const std::string name = "ms_key_fct_edit_" + std::to_string(edit);
        page().edit(name).setText(text);
        page().raise({ui::notify::kTextChanged, name});
    }
    std::string editText(int edit) { return page().edit("ms_key_fct_edit_" + std::to_string(edit)).text(); }
    std::string labelId(int button) { return page().find("ms_key_" + std::to_string(button)).textId(); }
};

TEST_F(ButtonEditorTest, TheOnlyLeftClickIsNotEdited) {
    pick(0);
    EXPECT_EQ(messages.textIds(), std::vector<std::string>{"message_text_6"});
    EXPECT_FALSE(page().find("ms_tab_function").isEnabled());
    EXPECT_FALSE(editor().selectedButton());
    // Nothing chosen afterwards lands on it.
    chooseCategory(12);
    EXPECT_EQ(entry(0), settings::kLeftClick);

    setEntry(2, settings::kLeftClick);
    messages.clear();
    pick(0);
    EXPECT_TRUE(messages.textIds().empty());
    EXPECT_TRUE(page().find("ms_tab_function").isEnabled());
    EXPECT_TRUE(page().find("ms_tab_function").isVisible());
    EXPECT_EQ(editor().selectedButton(), 0);
}

TEST_F(ButtonEditorTest, EveryCategoryBuildsItsEntryAndShowsItBack) {
    pick(3);
    EXPECT_EQ(editor().category(), 0) << "the slot's default function";
    EXPECT_EQ(page().tabs("ms_tab_function_switch").current(), 0);

    chooseCategory(2); // horizontal move, second direction, distance 5, both nibbles 15
    choose(12, 1);
    type(15, "5");
    type(17, "15");
    type(20, "16");
    EXPECT_EQ(editText(20), "15") << "a nibble stops at 15";
    EXPECT_EQ(entry(3), (KeyEntry{0x11, 0xFF, 0x85}));
    EXPECT_EQ(labelId(3), "mouse_key_right_Swing");

    pick(4);
    chooseCategory(3); // vertical move, second direction, distance 5
    choose(13, 1);
    type(16, "5");
    type(18, "0");
    type(19, "1");
    EXPECT_EQ(entry(4), (KeyEntry{0x12, 0x01, 0xFB}));

    // Shown back: the category, the direction and the distance as entered.
    pick(3);
    EXPECT_EQ(page().combo("ms_key_fct_combo").current(), 2);
    EXPECT_EQ(page().tabs("ms_tab_function_switch").current(), 2);
    EXPECT_EQ(page().combo("ms_key_fct_combo_12").current(), 1);
    EXPECT_EQ(editText(15), "5");
    pick(4);
    EXPECT_EQ(page().combo("ms_key_fct_combo_13").current(), 1);
    EXPECT_EQ(editText(16), "5");

    // Macros: the macro page fills the list; the repeat mode stores the count, at most 255.
    ui::ListLike macros = page().combo("ms_key_fct_combo_23");
    macros.clear();
    for (auto name : {"one", "two", "three"}) macros.add(name);
    pick(7);
    chooseCategory(9);
    choose(23, 1);
    choose(24, 4);
    type(25, "300");
    EXPECT_EQ(editText(25), "255");
    EXPECT_EQ(entry(7), (KeyEntry{0x71, 1, 255}));
    choose(24, 2);
    EXPECT_EQ(entry(7), (KeyEntry{0x70, 1, 2}));

    const struct {
        int category, combo, row;
        KeyEntry expected;
    } rows[] = {
        {1, 11, 4, {0x10, 0x08, 0}}, {4, 14, 2, {0x13, 3, 0}},  {7, 21, 6, {0x30, 0xE9, 0x00}},
        {8, 22, 1, {0x40, 0x02, 0}}, {10, 25, 3, {0x72, 3, 0}}, {11, 26, 4, {0x20, 0x01, 0x06}},
    };
    for (const auto& r : rows) {
        pick(8);
        chooseCategory(r.category);
        choose(r.combo, r.row);
        EXPECT_EQ(entry(8), r.expected) << "category " << r.category;
        pick(7);
        pick(8);
        EXPECT_EQ(page().combo("ms_key_fct_combo").current(), r.category);
        EXPECT_EQ(page().combo("ms_key_fct_combo_" + std::to_string(r.combo)).current(), r.row);
    }
    EXPECT_EQ(labelId(8), "combo_copy");

    chooseCategory(5); // fire key: neither value below 1
    type(11, "0");
    type(12, "20");
    EXPECT_EQ(editText(11), "1");
    EXPECT_EQ(entry(8), (KeyEntry{0x14, 1, 20}));
    chooseCategory(12);
    EXPECT_EQ(entry(8), (KeyEntry{0xA0, 0, 0}));
    EXPECT_EQ(labelId(8), "key_setenable_text");

    // A macro number past the list selects no macro.
    setEntry(6, KeyEntry{0x70, 9, 0});
    pick(6);
    EXPECT_EQ(page().combo("ms_key_fct_combo_23").current(), -1);
}

TEST_F(ButtonEditorTest, DefaultFollowsTheSlotsLayout) {
    const struct {
        int slot;
        std::size_t layout;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {4, 2}, {5, 2}};
    for (const auto& c : cases) {
        state.mouse.current[0] = static_cast<std::uint8_t>(c.slot);
        setEntry(7, KeyEntry{0xA0, 0, 0});
        pick(7);
        chooseCategory(0);
        EXPECT_EQ(entry(7), settings::kDefaultKeyTables[c.layout].entry(7)) << "slot " << c.slot;
    }
}

TEST_F(ButtonEditorTest, LabelsFollowTheTable) {
    const auto folder = platform::categoryFolder(platform::DeviceFolder::Mouse);
    ASSERT_TRUE(platform::writeProfileString(folder / "msMacro.ini", "MACROCOUNT", "count", "2"));
    ASSERT_TRUE(platform::writeProfileString(folder / "msMacro.ini", "MACRONAME", "0", "alpha"));
    ASSERT_TRUE(platform::writeProfileString(folder / "msMacro.ini", "MACRONAME", "1", "beta"));

    page().find("ms_key_5").setTextId("mouse_key_left");
    KeyAssignmentTable t = settings::kDefaultKeyTables[0];
    t.setEntry(1, {0x20, 0x01, 0x06});
    t.setEntry(2, {0x20, 0xE9, 0x00}); // a consumer key's pair is named by its key
    t.setEntry(3, {0x05, 0x05, 0x05});
    t.setEntry(4, {0x70, 1, 0});
    t.setEntry(5, {0x50, 0, 0});
    t.setEntry(6, {0x71, 2, 5});
    setTable(t);

    EXPECT_EQ(labelId(1), "combo_copy");
    EXPECT_EQ(page().find("ms_key_1").toolTip(), page().find("ms_key_1").text());
    EXPECT_EQ(labelId(2), "keyboard_key_Volume Up");
    EXPECT_EQ(labelId(3), "close_text");
    EXPECT_EQ(page().find("ms_key_4").text(), "beta");
    EXPECT_EQ(labelId(5), "mouse_key_left") << "a label without a name keeps its text";
    EXPECT_EQ(page().find("ms_key_6").text(), "") << "a macro past the list has no name";
}

TEST_F(ButtonEditorTest, CapturedKeysAssignKeyboardKeysOnly) {
    pick(4);
    chooseCategory(6);
    ASSERT_TRUE(hooks->installed());
    EXPECT_EQ(hooks->mode(), platform::HookMode::KeyCapture);
    EXPECT_EQ(page().find("ms_key_capture_state").textId(), "capture_state_injected_text");
    const KeyEntry before = entry(4);
    EXPECT_EQ(before, settings::kDefaultKeyTables[0].entry(4)) << "no key captured yet: nothing stored";

    hooks->key(0x0D, platform::kKeyFlagExtended);
    EXPECT_EQ(entry(4), (KeyEntry{0x20, 0x00, 0x58})) << "keypad Enter";
    EXPECT_EQ(page().edit("ms_key_fct_edit_21").textId(), "keyboard_key_Num Enter");
    EXPECT_EQ(labelId(4), "keyboard_key_Num Enter");

    hooks->key(0xAF); // volume up: a consumer key, chosen from the media list instead
    EXPECT_EQ(entry(4), (KeyEntry{0x20, 0x00, 0x58}));
    hooks->key(0x41, platform::kKeyFlagUp); // releases assign nothing
    EXPECT_EQ(entry(4), (KeyEntry{0x20, 0x00, 0x58}));
    hooks->key(0x0D);
    EXPECT_EQ(entry(4), (KeyEntry{0x20, 0x00, 0x28})) << "the main Enter";

    // Another category ends the capture, so keys typed elsewhere are not held back.
    chooseCategory(7);
    EXPECT_FALSE(hooks->installed());
    EXPECT_EQ(page().find("ms_key_capture_state").textId(), "capture_state_off_text");

    // A button holding a keyboard key arms the capture and shows the key; leaving the page ends it.
    setEntry(4, KeyEntry{0x20, 0x00, 0x28});
    pick(3);
    pick(4);
    EXPECT_TRUE(hooks->installed());
    EXPECT_EQ(page().combo("ms_key_fct_combo").current(), 6);
    EXPECT_EQ(page().edit("ms_key_fct_edit_21").textId(), "keyboard_key_Enter");
    select("ms_deng_Op_tab");
    EXPECT_FALSE(hooks->installed());
    EXPECT_FALSE(editor().capturing());
}

TEST_F(ButtonEditorTest, AssignmentSavedToTheDeviceReachesItsKeyBlock) {
    shell::SaveToDevice save(*window, *sync);
    pick(3);
    chooseCategory(7);
    choose(21, 6); // volume up
    ASSERT_EQ(entry(3), (KeyEntry{0x30, 0xE9, 0x00}));
    page().click("ms_key_butt_prosave");
    ASSERT_TRUE(eventually([&] {
        settle();
        const auto keys = device(DeviceClass::Mouse).keyArea();
        return keys.size() >= 12 && keys[9] == 0x30 && keys[10] == 0xE9 && keys[11] == 0x00;
    }));
}

} // namespace
} // namespace zq::test
