// The keyboard's key page on the real skin: selecting keys on the picture, building entries, the edit
// limits, key capture, the labels and their tooltips, the default button, and the key table reaching
// the keyboard and the key file.
#include "page_fixture.h"

#include "settings/key_entry.h"
#include "settings/keyboard_keys.h"

#include <fstream>
#include <iterator>

namespace zq::test {
namespace {

using device::DeviceClass;
using settings::KeyEntry;

class KeyboardKeys : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        if (HasFatalFailure()) return;
        state.keyboard.keyPages[0] = settings::kKeyboardDefaultKeyTable.bytes;
        page().option("kb_key_Op_tab").setSelected(true, ui::Notify::Yes);
    }
    KeyEntry entry(std::size_t key) const {
        const auto& t = state.keyboard.keyPages[0];
        return {t[3 * key], t[3 * key + 1], t[3 * key + 2]};
    }
    void setEntry(std::size_t key, KeyEntry e) {
        auto& t = state.keyboard.keyPages[0];
        t[3 * key] = e.type;
        t[3 * key + 1] = e.p1;
        t[3 * key + 2] = e.p2;
    }
    void chooseCategory(int category) { page().combo("kb_key_fct_combo").select(category, ui::Notify::Yes); }
    ui::Control label(std::size_t key) { return page().find("kb_key_" + std::to_string(key)); }
};

TEST_F(KeyboardKeys, ABuiltEntryReachesTheKeyboardAndTheKeyFileAndRelabelsTheKey) {
    page().click("kb_key_43");
    EXPECT_TRUE(page().find("kb_tab_function").isVisible());
    EXPECT_TRUE(page().find("kb_tab_function").isEnabled());
    EXPECT_EQ(page().combo("kb_key_fct_combo").current(), 0) << "Q sends Q: its default";

    chooseCategory(12);
    EXPECT_EQ(entry(43), (KeyEntry{0xA0, 0, 0}));
    EXPECT_EQ(page().tabs("kb_tab_function_switch").current(), 12);
    EXPECT_EQ(label(43).textId(), "key_setenable_text");
    EXPECT_FALSE(label(43).toolTip().empty());
    EXPECT_NE(label(43).toolTip(), "key_setenable_text") << "the tooltip carries the resolved text";
    settle();
    const auto keys = device(DeviceClass::Keyboard).keyArea();
    ASSERT_GE(keys.size(), 3u * 44);
    EXPECT_EQ(keys[3 * 43], 0xA0);

    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(dataFolder() / "kb"))
        if (e.path().extension() == ".pro") files.push_back(e.path());
    ASSERT_FALSE(files.empty());
    std::ifstream in(*std::min_element(files.begin(), files.end()), std::ios::binary);
    const std::vector<std::uint8_t> pro{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GE(pro.size(), 16u + 3 * 44);
    EXPECT_EQ(pro[16 + 3 * 43], 0xA0);

    // The default button puts the key's own function back.
    page().click("kb_key_butt_keydefalut");
    EXPECT_EQ(entry(43), settings::kKeyboardDefaultKeyTable.entry(43));
    EXPECT_EQ(page().combo("kb_key_fct_combo").current(), 0);
    EXPECT_EQ(label(43).textId(), "keyboard_key_Q");
    settle();
    EXPECT_EQ(device(DeviceClass::Keyboard).keyArea()[3 * 43], 0x20);
}

TEST_F(KeyboardKeys, CaptureTakesKeyboardKeysOnly) {
    page().click("kb_key_44");
    chooseCategory(6);
    ASSERT_TRUE(hooks->installed());
    EXPECT_EQ(entry(44), settings::kKeyboardDefaultKeyTable.entry(44)) << "nothing captured yet";
    EXPECT_TRUE(hooks->key(0x0D, platform::kKeyFlagExtended)); // keypad Enter
    EXPECT_EQ(entry(44), (KeyEntry{0x20, 0x00, 0x58}));
    EXPECT_EQ(page().edit("kb_key_fct_edit_21").textId(), "keyboard_key_Num Enter");
    hooks->key(0xAF);                       // volume up: a consumer key
    hooks->key(0x41, platform::kKeyFlagUp); // a release
    EXPECT_EQ(entry(44), (KeyEntry{0x20, 0x00, 0x58}));
    // Choosing another key on the picture keeps the capture running.
    page().click("kb_key_45");
    EXPECT_TRUE(hooks->installed());
    settingsPages().keyboardKeys.stopCapture();
    EXPECT_FALSE(hooks->installed());
    // Choosing the category again captures again, whoever removed the hooks meanwhile.
    page().click("kb_key_44");
    ASSERT_TRUE(hooks->installed());
    hooks->removeAll();
    chooseCategory(0);
    chooseCategory(6);
    EXPECT_TRUE(hooks->installed());
    hooks->key(0x42);
    EXPECT_EQ(entry(44), (KeyEntry{0x20, 0x00, 0x05}));
}

TEST_F(KeyboardKeys, EditsKeepTheirLimits) {
    page().click("kb_key_43");
    struct Case {
        int category;
        int edit;
        const char* typed;
        const char* shown;
    };
    for (const Case c : {Case{5, 11, "300", "255"}, Case{5, 11, "0", "0"}, Case{5, 12, "0", "1"},
                         Case{5, 12, "abc", "1"}, Case{2, 15, "200", "127"}, Case{2, 17, "16", "15"},
                         Case{3, 19, "99", "15"}, Case{9, 25, "0", "1"}, Case{9, 25, "300", "255"}}) {
        chooseCategory(c.category);
        ui::Edit e = page().edit("kb_key_fct_edit_" + std::to_string(c.edit));
        e.setText(c.typed, ui::Notify::Yes);
        EXPECT_EQ(e.text(), c.shown) << c.edit << " " << c.typed;
    }
    chooseCategory(5);
    page().edit("kb_key_fct_edit_11").setText("300", ui::Notify::Yes);
    page().edit("kb_key_fct_edit_12").setText("7", ui::Notify::Yes);
    EXPECT_EQ(entry(43), (KeyEntry{0x14, 255, 7}));

    chooseCategory(2);
    page().combo("kb_key_fct_combo_12").select(1, ui::Notify::Yes);
    page().edit("kb_key_fct_edit_15").setText("5", ui::Notify::Yes);
    page().edit("kb_key_fct_edit_17").setText("15", ui::Notify::Yes);
    page().edit("kb_key_fct_edit_20").setText("15", ui::Notify::Yes);
    EXPECT_EQ(entry(43), (KeyEntry{0x11, 0xFF, 0x85}));
    // Shown back as it was built.
    page().click("kb_key_44");
    page().click("kb_key_43");
    EXPECT_EQ(page().combo("kb_key_fct_combo").current(), 2);
    EXPECT_EQ(page().combo("kb_key_fct_combo_12").current(), 1);
    EXPECT_EQ(page().edit("kb_key_fct_edit_15").text(), "5");
}

TEST_F(KeyboardKeys, LabelsNameMacrosAndUnknownTypes) {
    const auto folder = dataFolder() / "kb";
    std::filesystem::create_directories(folder);
    {
        std::ofstream ini(folder / "kbMacro.ini");
        ini << "[MACROCOUNT]\ncount=2\n[MACRONAME]\n0=Reload\n1=Build\n";
    }
    setEntry(0, {0x70, 1, 0});
    setEntry(1, {0x71, 7, 3}); // a macro past the list
    setEntry(2, {0x05, 0, 0});
    setEntry(3, {0x20, 0x01, 0x06});
    settingsPages().keyboardKeys.refresh();
    EXPECT_EQ(label(0).text(), "Build");
    EXPECT_EQ(label(0).toolTip(), "Build");
    EXPECT_EQ(label(1).text(), "");
    EXPECT_EQ(label(2).text(), "\xE5\x85\xB3\xE9\x97\xAD");
    EXPECT_EQ(label(3).textId(), "combo_copy");

    page().click("kb_key_0");
    EXPECT_EQ(page().combo("kb_key_fct_combo").current(), 9);
    EXPECT_EQ(page().combo("kb_key_fct_combo_23").count(), 2);
    EXPECT_EQ(page().combo("kb_key_fct_combo_23").current(), 1);
    page().click("kb_key_1");
    EXPECT_EQ(page().combo("kb_key_fct_combo_23").current(), -1);
    EXPECT_EQ(page().combo("kb_key_fct_combo_24").current(), 4);
}

TEST_F(KeyboardKeys, TheKeyCountAndTheLeftClickGuardBoundTheEditor) {
    state.keyboard.info[5] = 40;
    setEntry(50, {0xA0, 0, 0});
    settingsPages().keyboardKeys.refresh();
    EXPECT_NE(label(50).textId(), "key_setenable_text") << "entries past the key count are not keys";
    page().click("kb_key_50");
    EXPECT_EQ(settingsPages().keyboardKeys.selectedKey(), std::nullopt);

    setEntry(5, {0x10, 0x01, 0x00});
    page().click("kb_key_5");
    EXPECT_EQ(messages.textIds().back(), "message_text_6");
    EXPECT_FALSE(page().find("kb_tab_function").isEnabled());
    setEntry(6, {0x10, 0x01, 0x00});
    page().click("kb_key_5");
    EXPECT_TRUE(page().find("kb_tab_function").isEnabled());
    EXPECT_EQ(page().combo("kb_key_fct_combo").current(), 1);
}

} // namespace
} // namespace zq::test
