#include "platform/data_folders.h"
#include "platform/registry.h"
#include "unit/platform/env_override.h"
#include "unit/platform/temp_folder.h"

#include <gtest/gtest.h>

namespace {
using namespace zq::platform;
using zq::test::EnvOverride;
using zq::test::TempFolder;
namespace fs = std::filesystem;

class DataFolders : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* v : {"ZQ70_DATA_DIR", "ZQ70_APP_DIR", "XDG_DOCUMENTS_DIR", "XDG_CONFIG_HOME"})
            env.clear(v);
        env.set("HOME", (dir / "home").string());
    }
    TempFolder dir;
    EnvOverride env;
};

TEST_F(DataFolders, DocumentsFolderComesFromEnvironmentUserDirsOrHome) {
    const fs::path home = dir / "home";
    EXPECT_EQ(userDataFolder(), home / "Documents" / "ZEPHRAN Q70" / "");

    fs::create_directories(dir / "cfg");
    dir.write("cfg/user-dirs.dirs", "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                    "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    env.set("XDG_CONFIG_HOME", (dir / "cfg").string());
    EXPECT_EQ(userDataFolder(), home / "Dokumente" / "ZEPHRAN Q70" / "");

    env.set("XDG_DOCUMENTS_DIR", (dir / "docs").string());
    EXPECT_EQ(userDataFolder(), dir / "docs" / "ZEPHRAN Q70" / "");
    EXPECT_TRUE(fs::is_directory(dir / "docs" / "ZEPHRAN Q70"));

    env.set("ZQ70_DATA_DIR", (dir / "data").string());
    EXPECT_EQ(userDataFolder(), dir / "data" / "");
}

TEST_F(DataFolders, CategoryFoldersAreCreatedOnEveryCall) {
    env.set("ZQ70_DATA_DIR", (dir / "data").string());
    const struct {
        DeviceFolder device;
        const char* name;
    } cases[] = {{DeviceFolder::Mouse, "ms"}, {DeviceFolder::Keyboard, "kb"}, {DeviceFolder::Pad, "mp"}};
    for (const auto& c : cases) {
        EXPECT_EQ(categoryFolder(c.device), dir / "data" / c.name / "");
        EXPECT_TRUE(fs::is_directory(dir / "data" / c.name));
        // Appending a file name works on the returned path either way.
        EXPECT_EQ((categoryFolder(c.device).string() + "x.ini"), (dir / "data" / c.name / "x.ini").string());
    }
    fs::remove_all(dir / "data");
    EXPECT_TRUE(fs::is_directory(categoryFolder(DeviceFolder::Mouse)));
}

TEST_F(DataFolders, ApplicationFolderIsTheExecutablesUnlessOverridden) {
    EXPECT_EQ(applicationFolder(), fs::read_symlink("/proc/self/exe").parent_path() / "");
    env.set("ZQ70_APP_DIR", (dir / "app").string());
    EXPECT_EQ(applicationFolder(), dir / "app" / "");
    EXPECT_TRUE(fs::is_directory(dir / "app"));
}

TEST_F(DataFolders, RegistryValueLivesInTheUsersConfigFolder) {
    env.set("XDG_CONFIG_HOME", (dir / "cfg").string());
    EXPECT_FALSE(readRegistryValue(kLanguageValue).found);
    ASSERT_TRUE(writeRegistryValue(kLanguageValue, "1"));
    const RegistryValue v = readRegistryValue("language");
    EXPECT_TRUE(v.found);
    EXPECT_EQ(v.value, "1");
    EXPECT_EQ(dir.read("cfg/zephran-q70/registry.ini"), "[ZEPHRAN Q70]\nLANGUAGE=1\n");
}

TEST(ResolveCaseInsensitive, FindsTheFileWhateverItsCase) {
    TempFolder dir;
    dir.write("msdengdefault.Led", "x");
    dir.write("KbMacro.ini", "x");
    dir.write("Twin.pro", "x");
    dir.write("twin.PRO", "x");
    const struct {
        const char* asked;
        const char* found;
    } cases[] = {
        {"msdengdefault.led", "msdengdefault.Led"},
        {"MSDENGDEFAULT.LED", "msdengdefault.Led"},
        {"kbMacro.ini", "KbMacro.ini"},
        {"twin.PRO", "twin.PRO"}, // the exact spelling wins
        {"TWIN.pro", "Twin.pro"}, // else the first in name order
        {"new.config", "new.config"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resolveCaseInsensitive(dir.path(), c.asked), dir / c.found) << c.asked;
    EXPECT_EQ(resolveCaseInsensitive(dir / "KBMACRO.INI"), dir / "KbMacro.ini");
    EXPECT_EQ(resolveCaseInsensitive(dir / "missing" / "a.ini"), dir / "missing" / "a.ini");
}

} // namespace
