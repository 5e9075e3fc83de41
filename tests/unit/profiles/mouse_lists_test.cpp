#include "profiles/mouse_lists.h"
#include "profiles/profile_file.h"
#include "profiles/profile_index.h"
#include "unit/platform/env_override.h"
#include "unit/platform/temp_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
using namespace zq::profiles;
using zq::test::TempFolder;
namespace fs = std::filesystem;

// An application folder with every mouse default file (payload bytes tell them apart) and an empty
// mouse folder.
class MouseListsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(app());
        fs::create_directories(mouse());
        writeDefault("msdevicedefault.config", 576, 0x10);
        writeDefault("msdevicedefault1.config", 576, 0x11);
        writeDefault("msdevicedefault2.config", 576, 0x12);
        writeDefault("msdengdefault.led", 64, 0x20);
        writeDefault("mskeydefault.pro", 512, 0x30);
    }
    fs::path app() const { return dir / "app"; }
    fs::path mouse() const { return dir / "ms"; }
    MouseListsFolders folders() const { return {mouse(), app()}; }

    void writeDefault(const char* name, std::size_t size, std::uint8_t fill) {
        const std::vector<std::uint8_t> payload(size, fill);
        ASSERT_TRUE(writeProfileFile(app() / name, DeviceType::Mouse, payload));
    }
    std::uint8_t firstPayloadByte(const char* name) const {
        const std::string f = dir.read(std::string("ms/") + name);
        return f.size() > 16 ? static_cast<std::uint8_t>(f[16]) : 0;
    }

    TempFolder dir;
};

ListEntry layout(const char* stored, const char* id) {
    return {stored, id, "", 25};
}
ListEntry plain(const char* stored) {
    return {stored, "", stored, 25};
}

TEST_F(MouseListsTest, FirstRunMakesProfilesFromTheDefaultsAndWritesTheIndex) {
    const MouseLists r = buildMouseLists(folders());
    EXPECT_TRUE(r.complete);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.lists[0],
              (std::vector<ListEntry>{layout("profile1", "ms_right_text"), layout("profile2", "ms_left_text"),
                                      layout("profile3", "ms_full_text")}));
    EXPECT_EQ(r.lists[1], std::vector<ListEntry>{plain("profile1")});
    EXPECT_EQ(r.lists[2], std::vector<ListEntry>{plain("profile1")});
    EXPECT_EQ(firstPayloadByte("profile1.config"), 0x10);
    EXPECT_EQ(firstPayloadByte("profile2.config"), 0x11);
    EXPECT_EQ(firstPayloadByte("profile3.config"), 0x12);
    EXPECT_EQ(firstPayloadByte("profile1.led"), 0x20);
    EXPECT_EQ(firstPayloadByte("profile1.pro"), 0x30);
    EXPECT_EQ(dir.read("ms/profile1.config").size(), 16u + 576u);
    EXPECT_EQ(dir.read("ms/msProfile.ini"),
              "[PROFILEDEVICECOUNT]\ncount=3\n[PROFILELIKEDEVICEEXE]\n0=0\n"
              "[PROFILEDEVICENAME]\n0=profile1\n1=profile2\n2=profile3\n[PROFILEDEVICESELECT]\nselect=0\n"
              "[PROFILEDENGCOUNT]\ncount=1\n[PROFILELIKEDENGEXE]\n0=0\n[PROFILEDENGNAME]\n0=profile1\n"
              "[PROFILEDENGSELECT]\nselect=0\n"
              "[PROFILECOUNT]\ncount=1\n[PROFILELIKEEXE]\n0=0\n[PROFILENAME]\n0=profile1\n[PROFILESELECT]"
              "\nselect=0\n");

    // The second start lists what the first one made and writes nothing.
    const auto before = fs::last_write_time(mouse() / "msProfile.ini");
    const MouseLists again = buildMouseLists(folders());
    EXPECT_EQ(again.lists, r.lists);
    EXPECT_EQ(fs::last_write_time(mouse() / "msProfile.ini"), before);
}

TEST_F(MouseListsTest, ExistingIndexShowsLayoutTextsThenNames) {
    dir.write("ms/msProfile.ini", "[PROFILEDEVICECOUNT]\ncount=4\n[PROFILEDEVICENAME]\n0=a\n1=b\n2=c\n3=d\n"
                                  "[PROFILEDENGCOUNT]\ncount=2\n[PROFILEDENGNAME]\n0=x\n1=y\n"
                                  "[PROFILECOUNT]\ncount=1\n[PROFILENAME]\n0=k\n");
    const MouseLists r = buildMouseLists(folders());
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.lists[0], (std::vector<ListEntry>{layout("a", "ms_right_text"), layout("b", "ms_left_text"),
                                                  layout("c", "ms_full_text"), plain("d")}));
    EXPECT_EQ(r.lists[1], (std::vector<ListEntry>{plain("x"), plain("y")}));
    EXPECT_EQ(r.lists[2], std::vector<ListEntry>{plain("k")});
    EXPECT_FALSE(fs::exists(mouse() / "profile1.config")); // no first run
}

TEST_F(MouseListsTest, CountZeroRunsTheFirstRunAgainOverLeftoverNames) {
    dir.write("ms/msProfile.ini", "[PROFILEDEVICECOUNT]\ncount=0\n[PROFILEDEVICENAME]\n0=old\n1=older\n"
                                  "[PROFILEDEVICESELECT]\nselect=1\n[PROFILEDENGCOUNT]\ncount=1\n"
                                  "[PROFILEDENGNAME]\n0=x\n[PROFILECOUNT]\ncount=1\n[PROFILENAME]\n0=k\n");
    dir.write("ms/profile1.config", "stale");
    const MouseLists r = buildMouseLists(folders());
    ASSERT_TRUE(r.complete);
    EXPECT_EQ(r.lists[0].size(), 3u);
    EXPECT_EQ(firstPayloadByte("profile1.config"), 0x10);
    const ProfileIndex index(ProfileCategory::MouseDevice, mouse() / "msProfile.ini");
    EXPECT_EQ(index.count(), 3);
    EXPECT_EQ(index.name(0), "profile1");
    EXPECT_EQ(index.name(1), "profile2");
    EXPECT_EQ(index.select(), 0);
    EXPECT_EQ(r.lists[1], std::vector<ListEntry>{plain("x")});
}

TEST_F(MouseListsTest, UnusableDefaultStopsBuildingAndLeavesTheCountUnwritten) {
    const struct {
        const char* what;
        const char* file;
        const char* content; // nullptr: removed
        const char* message;
        std::size_t deviceEntries, lightingEntries;
    } cases[] = {
        {"second device default missing", "msdevicedefault1.config", nullptr, "message_text_8", 1, 0},
        {"device default with wrong magic", "msdevicedefault.config", "\x55\xAA....", "message_text_9", 0, 0},
        {"lighting default missing", "msdengdefault.led", nullptr, "message_text_8", 3, 0},
        {"keys default with wrong magic", "mskeydefault.pro", "junk", "message_text_9", 3, 1},
    };
    for (const auto& c : cases) {
        SetUp();
        fs::remove_all(mouse());
        fs::create_directories(mouse());
        if (c.content)
            dir.write(std::string("app/") + c.file, c.content);
        else
            fs::remove(app() / c.file);

        const MouseLists r = buildMouseLists(folders());
        EXPECT_FALSE(r.complete) << c.what;
        EXPECT_EQ(r.messages, std::vector<std::string>{c.message}) << c.what;
        EXPECT_EQ(r.lists[0].size(), c.deviceEntries) << c.what;
        EXPECT_EQ(r.lists[1].size(), c.lightingEntries) << c.what;
        EXPECT_TRUE(r.lists[2].empty()) << c.what;
        // The failed category's count was not written, so its first run comes again next time.
        const std::size_t failed = c.deviceEntries < 3 ? 0 : (c.lightingEntries < 1 ? 1 : 2);
        EXPECT_EQ(ProfileIndex(kMouseListCategories[failed], mouse() / "msProfile.ini").count(), 0) << c.what;
    }
}

TEST_F(MouseListsTest, OddCountsCostNoMoreThanTheNamesPresent) {
    dir.write("ms/msProfile.ini", "[PROFILEDEVICECOUNT]\ncount=2000000000\n[PROFILEDEVICENAME]\n0=a\n1=b\n"
                                  "[PROFILEDENGCOUNT]\ncount=-3\n[PROFILEDENGNAME]\n0=x\n"
                                  "[PROFILECOUNT]\ncount=2\n[PROFILENAME]\n0=k\n5=z\n");
    const MouseLists r = buildMouseLists(folders());
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.lists[0].size(), 2u);
    EXPECT_TRUE(r.lists[1].empty()); // negative: nothing listed, no first run
    EXPECT_EQ(r.lists[2], (std::vector<ListEntry>{plain("k"), plain("0")})); // a gap reads as "0"
}

TEST(ProfileLists, KeyboardAndPadListsComeFromTheirIndexWithoutAFirstRun) {
    TempFolder dir;
    dir.write("kbProfile.ini", "[PROFILEDEVICECOUNT]\ncount=2\n[PROFILEDEVICENAME]\n0=Work\n1=Play\n");
    EXPECT_EQ(buildListFromIndex(ProfileCategory::KeyboardDevice, dir / "kbProfile.ini"),
              (std::vector<ListEntry>{plain("Work"), plain("Play")}));
    EXPECT_TRUE(buildListFromIndex(ProfileCategory::KeyboardKeys, dir / "kbProfile.ini").empty());
    EXPECT_TRUE(buildListFromIndex(ProfileCategory::PadLighting, dir / "mpProfile.ini").empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "mpProfile.ini"));
}

TEST(ProfileLists, KeyboardAndPadFirstRunMakeProfile1FromTheirDefaults) {
    TempFolder dir;
    const struct {
        const char* file;
        std::size_t size;
        DeviceType type;
    } defaults[] = {{"kbdevicedefault.config", 2470, DeviceType::Keyboard},
                    {"kbdengdefault.led", 1958, DeviceType::Keyboard},
                    {"kbkeydefault.pro", 512, DeviceType::Keyboard},
                    {"mpdengdefault.led", 64, DeviceType::Pad}};
    std::uint8_t fill = 0x40;
    for (const char* folder : {"app", "kb", "mp"}) std::filesystem::create_directories(dir / folder);
    for (const auto& d : defaults)
        ASSERT_TRUE(
            writeProfileFile(dir / "app" / d.file, d.type, std::vector<std::uint8_t>(d.size, fill++)));

    const DeviceLists kb = buildDeviceLists(zq::platform::DeviceFolder::Keyboard, {dir / "kb", dir / "app"});
    ASSERT_TRUE(kb.complete);
    EXPECT_EQ(kb.categories, (std::vector<ProfileCategory>{ProfileCategory::KeyboardDevice,
                                                           ProfileCategory::KeyboardLighting,
                                                           ProfileCategory::KeyboardKeys}));
    for (const auto& list : kb.lists) EXPECT_EQ(list, std::vector<ListEntry>{plain("profile1")});
    EXPECT_EQ(dir.read("kb/profile1.config").size(), 16u + 2470u);
    EXPECT_EQ(static_cast<std::uint8_t>(dir.read("kb/profile1.led")[16]), 0x41);
    EXPECT_EQ(static_cast<std::uint8_t>(dir.read("kb/profile1.pro")[16]), 0x42);
    const ProfileIndex keys(ProfileCategory::KeyboardKeys, dir / "kb" / "kbProfile.ini");
    EXPECT_EQ(keys.count(), 1);
    EXPECT_EQ(keys.name(0), "profile1");

    const DeviceLists pad = buildDeviceLists(zq::platform::DeviceFolder::Pad, {dir / "mp", dir / "app"});
    ASSERT_TRUE(pad.complete);
    EXPECT_EQ(pad.lists, std::vector<std::vector<ListEntry>>{{plain("profile1")}});
    EXPECT_EQ(static_cast<std::uint8_t>(dir.read("mp/profile1.led")[16]), 0x43);

    // A keyboard default gone: the message, and the later keyboard lists are not built.
    std::filesystem::remove_all(dir / "kb");
    std::filesystem::create_directories(dir / "kb");
    std::filesystem::remove(dir / "app" / "kbdengdefault.led");
    const DeviceLists broken =
        buildDeviceLists(zq::platform::DeviceFolder::Keyboard, {dir / "kb", dir / "app"});
    EXPECT_FALSE(broken.complete);
    EXPECT_EQ(broken.messages, std::vector<std::string>{"message_text_8"});
    EXPECT_EQ(broken.lists[0].size(), 1u);
    EXPECT_TRUE(broken.lists[1].empty());
    EXPECT_TRUE(broken.lists[2].empty());
}

TEST_F(MouseListsTest, UsesTheUsersDataFolderAndTheApplicationFolder) {
    zq::test::EnvOverride env;
    env.set("ZQ70_DATA_DIR", (dir / "data").string());
    env.set("ZQ70_APP_DIR", app().string());
    const MouseLists r = buildMouseLists();
    EXPECT_TRUE(r.complete);
    EXPECT_TRUE(fs::exists(dir / "data" / "ms" / "profile3.config"));
    EXPECT_TRUE(fs::exists(dir / "data" / "ms" / "msProfile.ini"));
}

} // namespace
