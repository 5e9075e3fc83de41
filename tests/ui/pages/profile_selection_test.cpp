// The profile lists at start, choosing a profile (load, link display, device update) and saving the
// live settings into the saved selection's file.
#include "platform/debug.h"
#include "profile_fixture.h"
#include "profiles/profile_payloads.h"

namespace zq::test {
namespace {

using device::DeviceClass;
using profiles::ProfileCategory;

using ProfileStart = ProfileFixture;

TEST_F(ProfileStart, EveryListIsBuiltAtStartWithItsFirstRunProfiles) {
    EXPECT_EQ(names(ProfileCategory::MouseDevice),
              (std::vector<std::string>{"profile1", "profile2", "profile3"}));
    // The three built-in mouse device profiles show the button layout they stand for.
    EXPECT_EQ(list(ProfileCategory::MouseDevice).itemText(1), skin.text("ms_left_text"));
    EXPECT_EQ(list(ProfileCategory::MouseDevice).itemTextId(2), "ms_full_text");
    for (Category c : {Category::MouseLighting, Category::MouseKeys, Category::KeyboardDevice,
                       Category::KeyboardLighting, Category::KeyboardKeys, Category::PadLighting}) {
        EXPECT_EQ(names(c), std::vector<std::string>{"profile1"}) << list(c).name();
        EXPECT_EQ(list(c).itemText(0), "profile1");
        EXPECT_EQ(list(c).rowHeight(0), 25);
        EXPECT_EQ(list(c).itemStyle(0), "listex_item_style");
        EXPECT_EQ(list(c).current(), -1) << "nothing is selected before a device arrives";
        EXPECT_TRUE(std::filesystem::exists(file(c, "profile1")));
    }
    EXPECT_FALSE(page().find("ms_tab_function").isEnabled());
    EXPECT_TRUE(messages.shown().empty());

    const profiles::pages::CategoryStatus s = profilePages().status(ProfileCategory::KeyboardKeys);
    EXPECT_EQ(s.names, std::vector<std::string>{"profile1"});
    EXPECT_EQ(s.active, -1);
    EXPECT_EQ(s.saved, 0);
}

TEST_F(ProfileStart, AMissingDefaultIsShownAndItsListStaysEmpty) {
    std::filesystem::remove_all(platform::categoryFolder(platform::DeviceFolder::Pad));
    std::filesystem::remove(appFolder / "mpdengdefault.led");
    profilePages().start();
    EXPECT_EQ(messages.textIds(), std::vector<std::string>{"message_text_8"});
    EXPECT_EQ(list(ProfileCategory::PadLighting).count(), 0);
    EXPECT_EQ(index(ProfileCategory::PadLighting).count(), 0) << "the first run comes again next start";
}

class ProfileSelect : public ProfileFixture {
protected:
    static constexpr std::size_t kEffectState = 9; // the light mode starts its effect over
    // A mouse device profile the mouse page shows as it is: the default's record with DPI codes, a key
    // table and colours of its own.
    std::vector<std::uint8_t> saneMouseProfile(const std::string& name) {
        auto payload = payloadOf(appFolder / "msdevicedefault2.config", 576);
        for (std::size_t i = 0; i < 512; ++i) payload[i] = static_cast<std::uint8_t>(i * 7);
        const std::uint8_t codes[] = {4, 12, 36, 44}; // DPI levels 1-4
        std::copy(std::begin(codes), std::end(codes), payload.begin() + 512 + 15);
        payload[512 + 24] = 0x33; // a DPI colour
        writeProfile(Category::MouseDevice, name, payload);
        return payload;
    }
};

TEST_F(ProfileSelect, MouseDeviceProfileIsLoadedIntoKeyTableRecordAndBlock) {
    makeList(Category::MouseDevice, {"profile1", "profile2", "profile3", "fps", "mmo"});
    const auto payload = saneMouseProfile("mmo");
    pick(Category::MouseDevice, 4);
    EXPECT_EQ(index(Category::MouseDevice).select(), 4);
    EXPECT_EQ(page().edit("ms_device_profile_name_edit").text(), "mmo");
    EXPECT_TRUE(std::equal(state.mouse.keyPages[0].begin(), state.mouse.keyPages[0].end(), payload.begin()));
    for (std::size_t i = 1; i < 46; ++i)
        if (i != kEffectState) {
            EXPECT_EQ(state.mouse.current[i], payload[512 + i]) << i;
        }

    // A layout entry shows its layout in the name edit.
    pick(Category::MouseDevice, 0);
    EXPECT_EQ(page().edit("ms_device_profile_name_edit").text(), skin.text("ms_right_text"));
}

TEST_F(ProfileSelect, MouseDeviceProfileFourGoesToSlotTwo) {
    makeList(Category::MouseDevice, {"profile1", "profile2", "profile3", "a", "b"});
    const auto payload = saneMouseProfile("b");
    pick(Category::MouseDevice, 4);
    push();
    const auto record = device(DeviceClass::Mouse).record(2);
    for (std::size_t i = 1; i < 46; ++i)
        if (i != kEffectState) {
            EXPECT_EQ(record[i], payload[512 + i]) << i;
        }
    // The key table is placed for slot 2: its first bytes start at 2 x 126, the bytes before are its own.
    const auto keys = device(DeviceClass::Mouse).keyArea();
    EXPECT_TRUE(std::equal(keys.begin() + 252, keys.begin() + 512, payload.begin()));
    EXPECT_TRUE(std::equal(keys.begin(), keys.begin() + 252, payload.begin()));
}

TEST_F(ProfileSelect, TheLayoutTextsAndTheNameEditFollowALanguageSwitch) {
    pick(Category::MouseDevice, 2);
    page().edit("ms_device_profile_name_edit").setText("stale");
    window->switchLanguage("0");
    EXPECT_EQ(list(Category::MouseDevice).itemText(2), skin.text("ms_full_text"));
    EXPECT_EQ(list(Category::MouseDevice).itemTextId(2), "ms_full_text");
    EXPECT_EQ(page().edit("ms_device_profile_name_edit").text(), skin.text("ms_full_text"));
}

TEST_F(ProfileSelect, KeyboardAndPadProfilesReachTheDevice) {
    makeList(Category::KeyboardDevice, {"profile1", "office"}, 0x20);
    makeList(Category::PadLighting, {"profile1", "calm"}, 0x30);
    const auto keyboard = payloadOf(Category::KeyboardDevice, "office");
    const auto pad = payloadOf(Category::PadLighting, "calm");

    pick(Category::KeyboardDevice, 1);
    pick(Category::PadLighting, 1);
    push();
    const std::size_t blockLength = state.keyboardLink.blockLength;
    const auto keys = device(DeviceClass::Keyboard).keyArea();
    ASSERT_GE(keys.size(), blockLength);
    EXPECT_TRUE(std::equal(keys.begin(), keys.begin() + static_cast<long>(blockLength), keyboard.begin()));
    // The lighting blocks keep the devices' slot byte and take the rest from the files.
    const auto kbRecord = device(DeviceClass::Keyboard).record(0);
    EXPECT_TRUE(std::equal(kbRecord.begin() + 1, kbRecord.begin() + 21, keyboard.begin() + 513));
    const auto padRecord = device(DeviceClass::Pad).record(0);
    EXPECT_TRUE(std::equal(padRecord.begin() + 1, padRecord.begin() + 21, pad.begin() + 1));
    EXPECT_EQ(index(Category::KeyboardDevice).select(), 1);
    EXPECT_EQ(index(Category::PadLighting).select(), 1);
    EXPECT_EQ(page().edit("mp_deng_profile_name_edit").text(), "calm");
}

TEST_F(ProfileSelect, AMissingFileKeepsTheLiveSettingsAndOnlySaysSoOnTheDebugChannel) {
    makeList(Category::KeyboardKeys, {"profile1", "gone"});
    std::filesystem::remove(file(Category::KeyboardKeys, "gone"));
    state.keyboard.keyPages[0].fill(0x5A);
    platform::clearDebugLines();
    pick(Category::KeyboardKeys, 1);
    EXPECT_TRUE(platform::debugContains("配置文件丢失"));
    EXPECT_EQ(state.keyboard.keyPages[0][100], 0x5A);
    EXPECT_EQ(index(Category::KeyboardKeys).select(), 1);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ProfileSelect, TheCurrentEntryAgainLoadsNothingAndTheMouseSideListsLoadNothing) {
    makeList(Category::PadLighting, {"profile1", "b"});
    pick(Category::PadLighting, 1);
    state.pad.current[3] = 0xEE;
    pick(Category::PadLighting, 1);
    EXPECT_EQ(state.pad.current[3], 0xEE);

    makeList(Category::MouseLighting, {"profile1", "x"});
    const auto block = state.mouse.current;
    pick(Category::MouseLighting, 1);
    EXPECT_EQ(index(Category::MouseLighting).select(), 0);
    EXPECT_EQ(state.mouse.current, block);
}

TEST_F(ProfileSelect, LinkDisplayShowsTheExecutablesName) {
    makeList(Category::PadLighting, {"profile1", "game", "broken"});
    index(Category::PadLighting).setLinkFlag(1, "1");
    index(Category::PadLighting).setLinkPath(1, "/opt/games/bin/game.x86_64");
    index(Category::PadLighting).setLinkFlag(2, "1");
    index(Category::PadLighting).setLinkPath(2, "nofolder");
    const auto broken = payloadOf(Category::PadLighting, "broken");

    pick(Category::PadLighting, 1);
    EXPECT_EQ(page().edit("mp_deng_profile_link_edit").text(), "game.x86_64");
    EXPECT_TRUE(page().option("mp_deng_profile_link_check").selected());
    EXPECT_TRUE(page().find("mp_deng_profile_link_name_hor").isVisible());

    // A link flag without a path (an index edited by hand) links nothing, and the profile still loads.
    pick(Category::PadLighting, 2);
    EXPECT_FALSE(page().option("mp_deng_profile_link_check").selected());
    EXPECT_EQ(state.pad.current[5], broken[5]);
}

using ProfileSave = ProfileFixture;

TEST_F(ProfileSave, SavesGoToTheSavedSelectionsFile) {
    makeList(Category::PadLighting, {"profile1", "b"});
    pick(Category::PadLighting, 1);
    state.pad.current[2] = 0x42;
    profilePages().save(static_cast<unsigned>(settings::pages::StoredProfile::PadLighting));
    EXPECT_EQ(payloadOf(Category::PadLighting, "b")[2], 0x42);
    EXPECT_NE(payloadOf(Category::PadLighting, "profile1")[2], 0x42);

    // A saved selection past the names: the missing name reads "0".
    index(Category::MouseDevice).setSelect(7);
    profilePages().save(settings::pages::StoredProfile::MouseDevice |
                        settings::pages::StoredProfile::MouseKeys);
    EXPECT_TRUE(std::filesystem::exists(file(Category::MouseDevice, "0")));
    EXPECT_EQ(payloadOf(Category::MouseKeys, "profile1"),
              std::vector<std::uint8_t>(state.mouse.keyPages[0].begin(), state.mouse.keyPages[0].end()));
}

TEST_F(ProfileSave, AHandEditedNameNeverLeavesTheFolder) {
    index(Category::KeyboardKeys).setName(0, "../../escaped");
    platform::clearDebugLines();
    profilePages().save(static_cast<unsigned>(settings::pages::StoredProfile::KeyboardKeys));
    EXPECT_FALSE(std::filesystem::exists(dataFolder() / "escaped.pro"));
    EXPECT_FALSE(std::filesystem::exists(dataFolder().parent_path() / "escaped.pro"));
}

} // namespace
} // namespace zq::test
