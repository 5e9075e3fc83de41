#include "platform/autostart.h"
#include "unit/platform/env_override.h"
#include "unit/platform/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <vector>

namespace {
using namespace zq::platform;
using zq::test::EnvOverride;
using zq::test::TempFolder;
namespace fs = std::filesystem;

TEST(DesktopExecLine, QuotesAndEscapesAsTheDesktopEntryRulesAsk) {
    const struct {
        std::vector<std::string> argv;
        std::string line;
    } cases[] = {
        {{"zephran-q70", "--hidden"}, "zephran-q70 --hidden"},
        {{"/opt/My Apps/zephran-q70", "--hidden"}, R"("/opt/My Apps/zephran-q70" --hidden)"},
        {{R"(/home/a\b$c/zq)"}, R"("/home/a\\b\$c/zq")"},
        {{R"(say "hi" `now`)"}, R"("say \"hi\" \`now\`")"},
        {{"/srv/100%/zq", "50% off"}, R"(/srv/100%%/zq "50%% off")"},
        {{"zq", ""}, R"(zq "")"},
        {{"/usr/bin/zq", "é"}, "/usr/bin/zq é"},
        {{"/tmp/a\nExec=evil"}, ""},
        {{"zq", "tab\there"}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(desktopExecLine(c.argv), c.line) << c.argv.front();
}

class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.set("HOME", (dir / "home").string());
        env.set("XDG_CONFIG_HOME", (dir / "config").string());
        env.set("XDG_CONFIG_DIRS", (dir / "system").string());
    }
    fs::path userEntry() const { return dir / "config" / "autostart" / "zephran-q70.desktop"; }
    void writeUserEntry(std::string_view text) const {
        fs::create_directories(dir / "config" / "autostart");
        dir.write("config/autostart/zephran-q70.desktop", text);
    }
    void writeSystemEntry(std::string_view text) const {
        fs::create_directories(dir / "system" / "autostart");
        dir.write("system/autostart/zephran-q70.desktop", text);
    }

    TempFolder dir;
    EnvOverride env;
    Autostart autostart;
};

TEST_F(AutostartTest, EntryLivesInTheUsersConfigFolder) {
    EXPECT_EQ(autostart.file(), userEntry());
    // Without XDG_CONFIG_HOME, or with a relative one (which the base directory rules ignore): ~/.config.
    for (const char* value : {"", "relative/config"}) {
        env.set("XDG_CONFIG_HOME", value);
        EXPECT_EQ(autostart.file(), dir / "home" / ".config" / "autostart" / "zephran-q70.desktop") << value;
    }
    env.clear("XDG_CONFIG_HOME");
    EXPECT_EQ(autostart.file(), dir / "home" / ".config" / "autostart" / "zephran-q70.desktop");
}

TEST_F(AutostartTest, EnableWritesAnEntryThatStartsTheProgramHiddenAndDisableRemovesIt) {
    EXPECT_FALSE(autostart.enabled());
    ASSERT_TRUE(autostart.enable("zephran-q70 --hidden")) << autostart.error();
    EXPECT_TRUE(autostart.enabled());
    const std::string text = dir.read("config/autostart/zephran-q70.desktop");
    EXPECT_TRUE(text.starts_with("[Desktop Entry]\n")) << text;
    EXPECT_NE(text.find("\nType=Application\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nExec=zephran-q70 --hidden\n"), std::string::npos) << text;
    // Only the entry is left in the folder: no temporary file of the atomic write.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "config" / "autostart"), fs::directory_iterator()),
              1);

    // Enabling again replaces the entry, with the new command.
    ASSERT_TRUE(autostart.enable("/opt/zq/zephran-q70 --hidden")) << autostart.error();
    EXPECT_NE(dir.read("config/autostart/zephran-q70.desktop").find("\nExec=/opt/zq/zephran-q70 --hidden\n"),
              std::string::npos);

    ASSERT_TRUE(autostart.disable()) << autostart.error();
    EXPECT_FALSE(autostart.enabled());
    EXPECT_FALSE(fs::exists(userEntry()));
    EXPECT_TRUE(autostart.disable()) << "nothing to do is no failure";
}

TEST_F(AutostartTest, ExecValueKeepsTheBackslashesOfAQuotedArgument) {
    // A literal backslash in a quoted argument is four in the file, a dollar sign \\$: the string escape
    // of the value comes on top of the quoting.
    const std::vector<std::string> argv{R"(/home/a\b$c/zephran-q70)", "--hidden"};
    ASSERT_TRUE(autostart.enable(desktopExecLine(argv))) << autostart.error();
    EXPECT_NE(dir.read("config/autostart/zephran-q70.desktop")
                  .find(R"(Exec="/home/a\\\\b\\$c/zephran-q70" --hidden)"),
              std::string::npos);
}

TEST_F(AutostartTest, BadCommandsAndUnwritableFoldersAreRefusedWithAReason) {
    for (const char* line : {"", "   ", "zephran-q70\nHidden=true", "zephran-q70 \xff"}) {
        EXPECT_FALSE(autostart.enable(line)) << line;
        EXPECT_FALSE(autostart.error().empty());
        EXPECT_FALSE(fs::exists(userEntry()));
    }
    // A file where the autostart folder belongs.
    fs::create_directories(dir / "config");
    dir.write("config/autostart", "not a folder");
    EXPECT_FALSE(autostart.enable("zephran-q70 --hidden"));
    EXPECT_NE(autostart.error().find("autostart"), std::string::npos) << autostart.error();
    EXPECT_FALSE(autostart.enabled());
}

TEST_F(AutostartTest, EnabledFollowsWhatTheSessionWouldRun) {
    const struct {
        const char* text;
        bool starts;
    } cases[] = {
        {"[Desktop Entry]\nType=Application\nExec=zephran-q70 --hidden\n", true},
        {"[Desktop Entry]\r\nExec=zephran-q70\r\nHidden = true\r\n", false},
        {"[Desktop Entry]\nExec=zephran-q70\nHidden=false\n", true},
        {"[Desktop Entry]\nExec=zephran-q70\nX-GNOME-Autostart-enabled=false\n", false},
        {"[Desktop Entry]\nExec=zephran-q70\nX-GNOME-Autostart-enabled=true\n", true},
        {"# no group\nExec=zephran-q70\n", false},
        {"", false},
        // Keys of other groups do not count.
        {"[Desktop Entry]\nExec=zephran-q70\n[Desktop Action quit]\nHidden=true\n", true},
    };
    for (const auto& c : cases) {
        writeUserEntry(c.text);
        EXPECT_EQ(autostart.enabled(), c.starts) << c.text;
    }
}

TEST_F(AutostartTest, UsersEntryOverridesTheSystemsAndDisableHidesASystemEntry) {
    writeSystemEntry("[Desktop Entry]\nType=Application\nExec=zephran-q70 --hidden\n");
    EXPECT_TRUE(autostart.enabled());

    ASSERT_TRUE(autostart.disable()) << autostart.error();
    EXPECT_FALSE(autostart.enabled());
    EXPECT_NE(dir.read("config/autostart/zephran-q70.desktop").find("\nHidden=true\n"), std::string::npos);

    ASSERT_TRUE(autostart.enable("zephran-q70 --hidden")) << autostart.error();
    EXPECT_TRUE(autostart.enabled());

    // A hidden system entry starts nothing, and the user's entry still wins over it.
    writeSystemEntry("[Desktop Entry]\nExec=zephran-q70\nHidden=true\n");
    EXPECT_TRUE(autostart.enabled());
    ASSERT_TRUE(autostart.disable());
    EXPECT_FALSE(fs::exists(userEntry())) << "a hidden system entry needs no hiding";
    EXPECT_FALSE(autostart.enabled());
}

TEST_F(AutostartTest, ExecLineUsesTheBareNameOnlyWhenTheSearchPathFindsThisProgram) {
    const auto makeProgram = [this](const std::string& relative) {
        fs::create_directories((dir / relative).parent_path());
        dir.write(relative, "#!/bin/sh\n");
        ::chmod((dir / relative).c_str(), 0755);
        return dir / relative;
    };
    const fs::path installed = makeProgram("bin/zephran-q70");
    const fs::path other = makeProgram("other/zephran-q70");
    const fs::path spaced = makeProgram("My Build/zephran-q70");

    env.set("PATH", "relative/bin:" + (dir / "bin").string() + ":/usr/bin");
    EXPECT_EQ(autostartExecLine(installed), "zephran-q70 --hidden");
    // The same file reached through another spelling of its path.
    EXPECT_EQ(autostartExecLine(dir / "bin" / ".." / "bin" / "zephran-q70"), "zephran-q70 --hidden");

    // The first match in the path is another program: the entry names this one by its full path.
    env.set("PATH", (dir / "other").string() + ":" + (dir / "bin").string());
    EXPECT_EQ(autostartExecLine(installed), installed.string() + " --hidden");
    std::string quoted = "\""; // appended: GCC 12 at -O3 misreads "\"" + std::string as an overlapping copy
    quoted += spaced.string();
    quoted += "\" --hidden";
    EXPECT_EQ(autostartExecLine(spaced), quoted);
    (void)other;
}

} // namespace
