// The buttons under the profile lists: add, delete, copy, import, export, reset, save name and the
// panel toggles. After every operation the list and the index name the same profiles.
#include "platform/debug.h"
#include "profile_fixture.h"

#include <algorithm>
#include <fstream>

namespace zq::test {
namespace {

using device::DeviceClass;
using profiles::ProfileCategory;

class ProfileOperations : public ProfileFixture {
protected:
    void click(Category c, std::string profiles::pages::CategoryControls::*button) {
        page().click(profiles::pages::controlsOf(c).*button);
        settle();
    }
    void expectListMatchesIndex(Category c) { EXPECT_EQ(names(c), indexNames(c)) << list(c).name(); }
    using Controls = profiles::pages::CategoryControls;
};

TEST_F(ProfileOperations, AddTakesTheNextFreeNumberAndTheDefaultFile) {
    const struct {
        Category category;
        std::vector<std::string> before;
        std::string made;
    } cases[] = {
        {Category::MouseDevice, {"profile1", "profile2", "profile3"}, "profile4"},
        {Category::MouseDevice, {"profile1", "profile2", "profile3", "profile4", "PROFILE5"}, "profile6"},
        {Category::KeyboardKeys, {"profile1"}, "profile2"},
        // A name stored under a layout text still counts: its file would be overwritten otherwise.
        {Category::MouseDevice, {"profile4", "profile2", "profile3"}, "profile5"},
    };
    for (const auto& c : cases) {
        makeList(c.category, c.before);
        click(c.category, &Controls::add);
        const int last = static_cast<int>(c.before.size());
        ASSERT_EQ(list(c.category).count(), last + 1);
        EXPECT_EQ(list(c.category).itemData(last), c.made);
        EXPECT_EQ(list(c.category).rowHeight(last), 25);
        EXPECT_EQ(list(c.category).itemStyle(last), "listex_item_style");
        EXPECT_EQ(list(c.category).current(), last);
        expectListMatchesIndex(c.category);
        EXPECT_EQ(index(c.category).linkFlag(last), "0");
        const auto& info = profiles::categoryInfo(c.category);
        EXPECT_EQ(payloadOf(c.category, c.made),
                  payloadOf(appFolder / profiles::defaultFileFor(c.category, 2), info.payloadSize));
    }
    // The keyboard's new key profile is selected: loaded and kept as the user's choice.
    EXPECT_EQ(index(Category::KeyboardKeys).select(), 1);
}

TEST_F(ProfileOperations, AddWithoutItsDefaultFileChangesNothing) {
    std::filesystem::remove(appFolder / "kbkeydefault.pro");
    click(Category::KeyboardKeys, &Controls::add);
    EXPECT_EQ(messages.textIds(), std::vector<std::string>{"message_text_8"});
    EXPECT_EQ(names(Category::KeyboardKeys), std::vector<std::string>{"profile1"});
    expectListMatchesIndex(Category::KeyboardKeys);
}

TEST_F(ProfileOperations, DeleteGuardsAndConfirmation) {
    for (int p : {0, 1, 2}) {
        pick(Category::MouseDevice, p);
        click(Category::MouseDevice, &Controls::remove);
    }
    pick(Category::PadLighting, 0);
    click(Category::PadLighting, &Controls::remove);
    EXPECT_EQ(messages.textIds(), std::vector<std::string>(4, "message_text_11"));

    makeList(Category::KeyboardLighting, {"profile1", "b"});
    pick(Category::KeyboardLighting, 1);
    messages.clear();
    messages.answer(0);
    click(Category::KeyboardLighting, &Controls::remove);
    EXPECT_EQ(messages.textIds(), std::vector<std::string>{"message_text_12"});
    EXPECT_EQ(names(Category::KeyboardLighting).size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(file(Category::KeyboardLighting, "b")));
}

TEST_F(ProfileOperations, DeleteShiftsNamesAndLinksAndSelectsPerList) {
    // Pad: the last of three goes; the old last position's link keys stay in the file.
    makeList(Category::PadLighting, {"a", "b", "c"});
    index(Category::PadLighting).setLinkFlag(2, "1");
    index(Category::PadLighting).setLinkPath(2, "/usr/bin/c");
    pick(Category::PadLighting, 2);
    messages.answer(1);
    click(Category::PadLighting, &Controls::remove);
    EXPECT_EQ(names(Category::PadLighting), (std::vector<std::string>{"a", "b"}));
    expectListMatchesIndex(Category::PadLighting);
    EXPECT_FALSE(std::filesystem::exists(file(Category::PadLighting, "c")));
    EXPECT_EQ(index(Category::PadLighting).linkPath(2), "/usr/bin/c");
    EXPECT_EQ(list(Category::PadLighting).current(), 1);
    EXPECT_EQ(index(Category::PadLighting).select(), 1);

    // Keyboard lighting: position 1 goes, the link of position 2 moves up with its profile.
    makeList(Category::KeyboardLighting, {"a", "b", "c", "d"});
    index(Category::KeyboardLighting).setLinkFlag(2, "1");
    index(Category::KeyboardLighting).setLinkPath(2, "/usr/bin/game");
    pick(Category::KeyboardLighting, 1);
    messages.answer(1);
    click(Category::KeyboardLighting, &Controls::remove);
    EXPECT_EQ(names(Category::KeyboardLighting), (std::vector<std::string>{"a", "c", "d"}));
    EXPECT_EQ(index(Category::KeyboardLighting).linkFlag(1), "1");
    EXPECT_EQ(index(Category::KeyboardLighting).linkPath(1), "/usr/bin/game");
    EXPECT_EQ(list(Category::KeyboardLighting).current(), 2) << "the last entry";

    // Mouse device: position 3 of five goes; the entry that moved to 3 is selected and loaded.
    makeList(Category::MouseDevice, {"profile1", "profile2", "profile3", "x", "y"});
    const auto y = payloadOf(Category::MouseDevice, "y");
    pick(Category::MouseDevice, 3);
    messages.answer(1);
    click(Category::MouseDevice, &Controls::remove);
    EXPECT_EQ(names(Category::MouseDevice),
              (std::vector<std::string>{"profile1", "profile2", "profile3", "y"}));
    EXPECT_EQ(list(Category::MouseDevice).itemTextId(0), "ms_right_text") << "rebuilt with the layout texts";
    EXPECT_EQ(list(Category::MouseDevice).current(), 3);
    EXPECT_EQ(index(Category::MouseDevice).select(), 3);
    EXPECT_EQ(state.mouse.keyPages[0][7], y[7]);
}

TEST_F(ProfileOperations, DeleteKeepsTheSavedSelectionOnItsProfileInListsThatDoNotLoad) {
    makeList(Category::MouseKeys, {"a", "b", "c"});
    index(Category::MouseKeys).setSelect(2);
    pick(Category::MouseKeys, 0);
    messages.answer(1);
    click(Category::MouseKeys, &Controls::remove);
    EXPECT_EQ(index(Category::MouseKeys).name(index(Category::MouseKeys).select()), "c");
}

TEST_F(ProfileOperations, CopyAppendsCopyUntilTheNameIsFree) {
    makeList(Category::KeyboardKeys, {"profile1", "profile2", "profile2 copy"});
    // A stale link left at position 3 by an earlier, longer list.
    index(Category::KeyboardKeys).setLinkFlag(3, "1");
    index(Category::KeyboardKeys).setLinkPath(3, "/usr/bin/old");
    pick(Category::KeyboardKeys, 1);
    click(Category::KeyboardKeys, &Controls::copy);
    EXPECT_EQ(names(Category::KeyboardKeys).back(), "profile2 copy copy");
    expectListMatchesIndex(Category::KeyboardKeys);
    EXPECT_EQ(payloadOf(Category::KeyboardKeys, "profile2 copy copy"),
              payloadOf(Category::KeyboardKeys, "profile2"));
    EXPECT_EQ(list(Category::KeyboardKeys).current(), 3);
    EXPECT_EQ(index(Category::KeyboardKeys).linkFlag(3), "0") << "a copy is not linked";
}

TEST_F(ProfileOperations, ExportThenImportGivesTheSamePayload) {
    makeList(Category::PadLighting, {"profile1", "mine"}, 0x60);
    pick(Category::PadLighting, 1);
    const auto exported = (dataFolder() / "out").string();
    dialogs.answer(exported); // no extension typed: the default one is added
    click(Category::PadLighting, &Controls::exportFile);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_TRUE(dialogs.calls()[0].save);
    EXPECT_EQ(dialogs.calls()[0].request.filter, "(*.led) | *.led ||");
    EXPECT_EQ(dialogs.calls()[0].request.defaultExtension, "led");
    EXPECT_EQ(payloadOf(exported + ".led", 64), payloadOf(Category::PadLighting, "mine"));

    // Import into the pad list overwrites the active profile; the list stays as it is.
    pick(Category::PadLighting, 0);
    dialogs.answer(exported + ".led");
    click(Category::PadLighting, &Controls::importFile);
    EXPECT_EQ(payloadOf(Category::PadLighting, "profile1"), payloadOf(Category::PadLighting, "mine"));
    EXPECT_EQ(names(Category::PadLighting), (std::vector<std::string>{"profile1", "mine"}));
    EXPECT_EQ(state.pad.current[4], payloadOf(Category::PadLighting, "mine")[4]) << "loaded";
}

TEST_F(ProfileOperations, ImportOfADeviceProfileMakesANewEntryAndLoadsIt) {
    const auto source = pattern(576, 0x21);
    ASSERT_TRUE(
        profiles::writeProfileFile(dataFolder() / "shared.config", profiles::DeviceType::Mouse, source));
    pick(Category::MouseDevice, 0);
    dialogs.answer((dataFolder() / "shared.config").string());
    click(Category::MouseDevice, &Controls::importFile);
    EXPECT_EQ(names(Category::MouseDevice).back(), "profile4") << "the chosen file's name is not used";
    expectListMatchesIndex(Category::MouseDevice);
    // The loaded profile is saved again at once, with the desktop's pointer speed and wheel lines.
    const auto imported = payloadOf(Category::MouseDevice, "profile4");
    EXPECT_TRUE(std::equal(source.begin(), source.begin() + 512, imported.begin()));
    EXPECT_EQ(list(Category::MouseDevice).current(), 3);
    EXPECT_TRUE(std::equal(state.mouse.keyPages[0].begin(), state.mouse.keyPages[0].end(), source.begin()));
}

TEST_F(ProfileOperations, ImportOfFilesThatAreNoProfile) {
    const struct {
        const char* what;
        std::string bytes;
        const char* message; // nullptr: imported
    } cases[] = {
        {"empty", "", "message_text_9"},
        {"wrong magic", std::string("\x55\xAA\0\0", 4) + std::string(600, 'x'), "message_text_9"},
        {"text", "hello world, no profile here", "message_text_9"},
        {"short: the rest reads as zeros",
         std::string("\xAA\x55\0\0\x01\0", 6) + std::string(10, '\0') + "\x07\x08", nullptr},
    };
    pick(Category::KeyboardDevice, 0);
    for (const auto& c : cases) {
        messages.clear();
        const auto path = dataFolder() / "import.config";
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(c.bytes.data(), static_cast<std::streamsize>(c.bytes.size()));
        }
        const std::size_t before = names(Category::KeyboardDevice).size();
        dialogs.answer(path.string());
        click(Category::KeyboardDevice, &Controls::importFile);
        if (c.message) {
            EXPECT_EQ(messages.textIds(), std::vector<std::string>{c.message}) << c.what;
            EXPECT_EQ(names(Category::KeyboardDevice).size(), before) << c.what << ": no entry added";
        } else {
            const auto payload = payloadOf(Category::KeyboardDevice, names(Category::KeyboardDevice).back());
            EXPECT_EQ(payload[0], 7) << c.what;
            EXPECT_EQ(payload[1], 8) << c.what;
            EXPECT_EQ(std::count(payload.begin() + 2, payload.end(), 0), 2468) << c.what;
        }
        expectListMatchesIndex(Category::KeyboardDevice);
    }
    // The Open dialog cancelled: nothing happens.
    click(Category::KeyboardDevice, &Controls::importFile);
    expectListMatchesIndex(Category::KeyboardDevice);
}

TEST_F(ProfileOperations, ExportToAFolderThatCannotBeWrittenSaysSo) {
    // A "folder" that is a file: no user, root included, can write below it.
    std::ofstream(dataFolder() / "not-a-folder") << "x";
    pick(Category::MouseKeys, 0);
    dialogs.answer((dataFolder() / "not-a-folder" / "x.pro").string());
    click(Category::MouseKeys, &Controls::exportFile);
    EXPECT_EQ(messages.textIds(), std::vector<std::string>{"message_profile_write_failed"});
}

TEST_F(ProfileOperations, SaveNameRules) {
    makeList(Category::PadLighting, {"profile1", "profile2"});
    pick(Category::PadLighting, 0);
    const auto before = payloadOf(Category::PadLighting, "profile1");
    const struct {
        const char* typed;
        const char* message; // nullptr: nothing shown
    } refused[] = {
        {"", "message_text_14"},
        {"PROFILE2", "message_text_15"},
        {"profile1", "message_text_15"}, // its own name
        {"a/b", "message_profile_name_invalid"},
        {"..", "message_profile_name_invalid"},
    };
    for (const auto& r : refused) {
        messages.clear();
        page().edit("mp_deng_profile_name_edit").setText(r.typed);
        click(Category::PadLighting, &Controls::saveName);
        EXPECT_EQ(messages.textIds(), std::vector<std::string>{r.message}) << r.typed;
        expectListMatchesIndex(Category::PadLighting);
        EXPECT_EQ(names(Category::PadLighting), (std::vector<std::string>{"profile1", "profile2"}));
    }

    messages.clear();
    page().edit("mp_deng_profile_name_edit").setText("Evening");
    click(Category::PadLighting, &Controls::saveName);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(names(Category::PadLighting), (std::vector<std::string>{"Evening", "profile2"}));
    EXPECT_EQ(list(Category::PadLighting).itemText(0), "Evening");
    expectListMatchesIndex(Category::PadLighting);
    EXPECT_EQ(payloadOf(Category::PadLighting, "Evening"), before);
    EXPECT_FALSE(std::filesystem::exists(file(Category::PadLighting, "profile1")));

    // The mouse device list keeps its built-in names: "PROFILE2" is ignored without a message.
    messages.clear();
    pick(Category::MouseDevice, 1);
    page().edit("ms_device_profile_name_edit").setText("PROFILE2");
    click(Category::MouseDevice, &Controls::saveName);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(names(Category::MouseDevice)[1], "profile2");
    // A layout entry renamed keeps showing its layout.
    page().edit("ms_device_profile_name_edit").setText("lefty");
    click(Category::MouseDevice, &Controls::saveName);
    EXPECT_EQ(names(Category::MouseDevice)[1], "lefty");
    EXPECT_EQ(list(Category::MouseDevice).itemText(1), skin.text("ms_left_text"));
    expectListMatchesIndex(Category::MouseDevice);
}

TEST_F(ProfileOperations, SaveNameOfAProfileWithoutItsFileKeepsTheName) {
    pick(Category::KeyboardKeys, 0);
    std::filesystem::remove(file(Category::KeyboardKeys, "profile1"));
    page().edit("kb_key_profile_name_edit").setText("typing");
    click(Category::KeyboardKeys, &Controls::saveName);
    EXPECT_EQ(messages.textIds(), std::vector<std::string>{"message_text_8"});
    EXPECT_EQ(index(Category::KeyboardKeys).name(0), "profile1");
    EXPECT_EQ(names(Category::KeyboardKeys), std::vector<std::string>{"profile1"});
    EXPECT_FALSE(std::filesystem::exists(file(Category::KeyboardKeys, "typing")));
}

TEST_F(ProfileOperations, ResetTakesTheDefaultIntoTheLiveStateAndTheSavedFile) {
    makeList(Category::PadLighting, {"profile1", "b"}, 0x70);
    pick(Category::PadLighting, 1);
    state.pad.dirty = false;
    click(Category::PadLighting, &Controls::reset);
    const auto defaults = payloadOf(appFolder / "mpdengdefault.led", 64);
    EXPECT_EQ(state.pad.current[2], defaults[2]);
    const auto saved = payloadOf(Category::PadLighting, "b");
    EXPECT_EQ(saved[2], defaults[2]);
    EXPECT_EQ(saved[60], 0x70 + 1 + 60) << "only 56 bytes of the default are read";
    EXPECT_TRUE(state.pad.dirty);

    pick(Category::KeyboardKeys, 0);
    state.keyboard.keyPages[0].fill(0);
    click(Category::KeyboardKeys, &Controls::reset);
    const auto keys = payloadOf(appFolder / "kbkeydefault.pro", 512);
    EXPECT_TRUE(std::equal(keys.begin(), keys.end(), state.keyboard.keyPages[0].begin()));
    const auto area = device(DeviceClass::Keyboard).keyArea();
    EXPECT_TRUE(std::equal(area.begin(), area.begin() + static_cast<long>(state.keyboardLink.blockLength),
                           keys.begin()));
}

TEST_F(ProfileOperations, PanelTogglesShowAndHide) {
    ui::Control panel = page().find("kb_key_profile_edit");
    const bool before = panel.isVisible();
    page().click("kb_pro_key_edit_btn");
    EXPECT_NE(panel.isVisible(), before);
    page().click("kb_pro_key_edit_btn");
    EXPECT_EQ(panel.isVisible(), before);
}

} // namespace
} // namespace zq::test
