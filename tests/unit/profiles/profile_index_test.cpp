#include "platform/private_profile.h"
#include "profiles/profile_category.h"
#include "profiles/profile_index.h"
#include "profiles/profile_name.h"
#include "unit/platform/env_override.h"
#include "unit/platform/temp_folder.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
using namespace zq::profiles;
using zq::test::TempFolder;
namespace fs = std::filesystem;

TEST(ProfileCategories, TableHasOneRowPerCategoryInOrder) {
    ASSERT_EQ(kProfileCategories.size(), kProfileCategoryCount);
    for (std::size_t i = 0; i < kProfileCategories.size(); ++i)
        EXPECT_EQ(static_cast<std::size_t>(kProfileCategories[i].category), i);
    const struct {
        ProfileCategory c;
        const char* index;
        const char* countSection;
        const char* ext;
        std::size_t payload;
        DeviceType type;
        const char* control;
    } rows[] = {
        {ProfileCategory::MouseDevice, "msProfile.ini", "PROFILEDEVICECOUNT", ".config", 576,
         DeviceType::Mouse, "ms_device_profile_combo"},
        {ProfileCategory::MouseLighting, "msProfile.ini", "PROFILEDENGCOUNT", ".led", 64, DeviceType::Mouse,
         "ms_deng_profile_combo"},
        {ProfileCategory::MouseKeys, "msProfile.ini", "PROFILECOUNT", ".pro", 512, DeviceType::Mouse,
         "ms_key_profile_combo"},
        {ProfileCategory::KeyboardDevice, "kbProfile.ini", "PROFILEDEVICECOUNT", ".config", 2470,
         DeviceType::Keyboard, "kb_device_profile_combo"},
        {ProfileCategory::KeyboardLighting, "kbProfile.ini", "PROFILEDENGCOUNT", ".led", 1958,
         DeviceType::Keyboard, "kb_deng_profile_combo"},
        {ProfileCategory::KeyboardKeys, "kbProfile.ini", "PROFILECOUNT", ".pro", 512, DeviceType::Keyboard,
         "kb_key_profile_combo"},
        {ProfileCategory::PadLighting, "mpProfile.ini", "PROFILEDENGCOUNT", ".led", 64, DeviceType::Pad,
         "mp_deng_profile_combo"},
    };
    for (const auto& r : rows) {
        const auto& info = categoryInfo(r.c);
        EXPECT_EQ(info.indexFile, r.index);
        EXPECT_EQ(info.sections.count, r.countSection);
        EXPECT_EQ(info.extension, r.ext);
        EXPECT_EQ(info.payloadSize, r.payload);
        EXPECT_EQ(info.deviceType, r.type);
        EXPECT_EQ(info.listControl, r.control);
    }
    EXPECT_EQ(categoryInfo(ProfileCategory::KeyboardKeys).sections.linkPath, "PROCESS");
    EXPECT_EQ(categoryInfo(ProfileCategory::PadLighting).sections.linkFlag, "PROFILELIKEDENGEXE");
}

TEST(ProfileCategories, DefaultFilePerPosition) {
    EXPECT_EQ(defaultFileFor(ProfileCategory::MouseDevice, 0), "msdevicedefault.config");
    EXPECT_EQ(defaultFileFor(ProfileCategory::MouseDevice, 1), "msdevicedefault1.config");
    EXPECT_EQ(defaultFileFor(ProfileCategory::MouseDevice, 2), "msdevicedefault2.config");
    EXPECT_EQ(defaultFileFor(ProfileCategory::MouseDevice, 7), "msdevicedefault2.config");
    EXPECT_EQ(defaultFileFor(ProfileCategory::KeyboardLighting, 0), "kbdengdefault.led");
    EXPECT_EQ(defaultFileFor(ProfileCategory::PadLighting, 4), "mpdengdefault.led");
}

TEST(ProfileIndex, NumbersReadLikeTheProgramAlwaysDid) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"", 0},
                 {"0", 0},
                 {"3", 3},
                 {"  12abc", 12},
                 {"-4", -4},
                 {"+5", 5},
                 {"abc", 0},
                 {"1 2", 1},
                 {"99999999999", INT_MAX},
                 {"-99999999999", INT_MIN},
                 {"2147483647", INT_MAX}};
    for (const auto& c : cases) EXPECT_EQ(parseIndexNumber(c.text), c.value) << c.text;
}

TEST(ProfileIndex, ReadsAndWritesTheCategorysOwnSections) {
    TempFolder dir;
    const ProfileIndex device(ProfileCategory::MouseDevice, dir / "msProfile.ini");
    const ProfileIndex keys(ProfileCategory::MouseKeys, dir / "msProfile.ini");
    EXPECT_EQ(device.count(), 0);
    EXPECT_EQ(device.name(0), "0");
    EXPECT_EQ(device.linkPath(2), "0");

    device.setCount(3);
    device.setLinkFlag(0, "0");
    for (int i = 0; i < 3; ++i) device.setName(i, "profile" + std::to_string(i + 1));
    device.setSelect(0);
    device.setLinkFlag(2, "1");
    device.setLinkPath(2, "/usr/games/game");
    keys.setCount(1);

    EXPECT_EQ(dir.read("msProfile.ini"),
              "[PROFILEDEVICECOUNT]\ncount=3\n[PROFILELIKEDEVICEEXE]\n0=0\n2=1\n"
              "[PROFILEDEVICENAME]\n0=profile1\n1=profile2\n2=profile3\n"
              "[PROFILEDEVICESELECT]\nselect=0\n[DEVICEPROCESS]\n2=/usr/games/game\n"
              "[PROFILECOUNT]\ncount=1\n");
    EXPECT_EQ(device.count(), 3);
    EXPECT_EQ(keys.count(), 1);
    EXPECT_EQ(device.linkFlag(2), "1");
    EXPECT_EQ(device.select(), 0);
    EXPECT_EQ(device.namesPresent(), 3u);
}

TEST(ProfileIndex, LongNameReadsBackCutTo259Characters) {
    TempFolder dir;
    const ProfileIndex pad(ProfileCategory::PadLighting, dir / "mpProfile.ini");
    pad.setName(0, std::string(300, 'n'));
    EXPECT_EQ(pad.name(0), std::string(259, 'n'));
}

TEST(ProfileIndex, IndexFileNameMatchesAnyCase) {
    TempFolder dir;
    dir.write("MSPROFILE.INI", "[profiledevicecount]\ncount=5\n");
    const ProfileIndex device(ProfileCategory::MouseDevice, dir / "msProfile.ini");
    EXPECT_EQ(device.count(), 5);
    device.setCount(6);
    EXPECT_FALSE(fs::exists(dir / "msProfile.ini"));
    EXPECT_EQ(dir.read("MSPROFILE.INI"), "[profiledevicecount]\ncount=6\n");
}

TEST(ProfileIndex, ForCategoryCreatesTheFoldersOfAnEmptyDocumentsFolder) {
    TempFolder dir;
    zq::test::EnvOverride env;
    env.clear("ZQ70_DATA_DIR");
    env.set("XDG_DOCUMENTS_DIR", (dir / "docs").string());
    const ProfileIndex kb = ProfileIndex::forCategory(ProfileCategory::KeyboardKeys);
    EXPECT_EQ(kb.file(), dir / "docs" / "ZEPHRAN Q70" / "kb" / "kbProfile.ini");
    EXPECT_TRUE(fs::is_directory(dir / "docs" / "ZEPHRAN Q70" / "kb"));
    kb.setCount(1);
    EXPECT_TRUE(fs::exists(kb.file()));
}

TEST(ProfileName, RefusesNamesThatAreNoFileNameOrEscapeTheFolder) {
    const struct {
        std::string name;
        NameProblem problem;
    } cases[] = {
        {"profile4", NameProblem::None},
        {"Mein Profil \xC3\xA9", NameProblem::None},
        {"a.b", NameProblem::None},
        {"...", NameProblem::None},
        {"back\\slash", NameProblem::None},
        {"", NameProblem::Empty},
        {"../escape", NameProblem::Separator},
        {"a/b", NameProblem::Separator},
        {"/", NameProblem::Separator},
        {std::string("a\0b", 3), NameProblem::Nul},
        {".", NameProblem::DotName},
        {"..", NameProblem::DotName},
        {"two\nlines", NameProblem::ControlCharacter},
        {"tab\there", NameProblem::ControlCharacter},
        {" lead", NameProblem::SurroundingBlanks},
        {"trail ", NameProblem::SurroundingBlanks},
        {"\xC3", NameProblem::InvalidUtf8},
        {std::string(248, 'x'), NameProblem::None},
        {std::string(249, 'x'), NameProblem::TooLong},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkProfileName(c.name, ".config"), c.problem) << c.name.size() << " " << c.name;
}

} // namespace
