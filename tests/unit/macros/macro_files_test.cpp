#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/macro_files.h"
#include "platform/private_profile.h"
#include "unit/platform/temp_folder.h"

namespace zq::macros {
namespace {

using test::TempFolder;
using Names = std::vector<std::string>;

TEST(MacroIndex, ReadsNamesInOrderAndMatchesFileNameCase) {
    TempFolder dir;
    dir.write("KbMacro.ini", "[MACRONAME]\n1=Reload\n0=name_1\n[MACROCOUNT]\ncount=2\n");
    EXPECT_EQ(readMacroIndex(dir.path(), MacroFamily::Keyboard), (Names{"name_1", "Reload"}));
    EXPECT_TRUE(readMacroIndex(dir.path(), MacroFamily::Mouse).empty()) << "no mouse index: no macros";
}

TEST(MacroIndex, CountIsBoundedByTheNamesPresent) {
    struct Case {
        const char* text;
        Names expected;
    };
    const Case cases[] = {
        {"[MACROCOUNT]\ncount=2\n[MACRONAME]\n0=a\n1=b\n2=c\n", {"a", "b"}},
        {"[MACROCOUNT]\ncount=2000000000\n[MACRONAME]\n0=a\n1=b\n", {"a", "b"}},
        {"[MACROCOUNT]\ncount=-3\n[MACRONAME]\n0=a\n", {}},
        {"[MACROCOUNT]\ncount=junk\n[MACRONAME]\n0=a\n", {}},
        {"[MACRONAME]\n0=a\n", {}},
        // A gap within the bound reads as "0", the default every read uses.
        {"[MACROCOUNT]\ncount=3\n[MACRONAME]\n0=a\n2=c\n5=f\n", {"a", "0", "c"}},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        dir.write("msMacro.ini", c.text);
        EXPECT_EQ(readMacroIndex(dir.path(), MacroFamily::Mouse), c.expected) << c.text;
    }
}

TEST(MacroIndex, RewriteAfterDeletingTheMiddleMacro) {
    TempFolder dir;
    dir.write("msMacro.ini", "[MACROCOUNT]\ncount=3\n[MACRONAME]\n0=a\n1=b\n2=c\n[OTHER]\nx=1\n");
    const Names left{"a", "c"};
    ASSERT_TRUE(rewriteMacroIndex(dir.path(), MacroFamily::Mouse, left));
    EXPECT_EQ(readMacroIndex(dir.path(), MacroFamily::Mouse), left);
    EXPECT_EQ(dir.read("msMacro.ini"),
              "[MACROCOUNT]\ncount=2\n[CURSORCOUNT]\ncount=4\n[CURSORNAME]\n0=name_1\n"
              "1=name_2\n2=name_3\n3=name_4\n[MACRONAME]\n0=a\n1=c\n");
}

TEST(MacroIndex, KeyboardRewriteHasNoCursorSectionsAndKeepsTheFileSpelling) {
    TempFolder dir;
    dir.write("KBMACRO.INI", "[MACROCOUNT]\ncount=1\n[MACRONAME]\n0=a\n");
    ASSERT_TRUE(rewriteMacroIndex(dir.path(), MacroFamily::Keyboard, Names{}));
    EXPECT_EQ(dir.read("KBMACRO.INI"), "[MACROCOUNT]\ncount=0\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "kbMacro.ini"));
}

TEST(MacroIndex, RewriteRefusesANameThatCannotBeStoredAndKeepsTheOldIndex) {
    TempFolder dir;
    dir.write("msMacro.ini", "[MACROCOUNT]\ncount=1\n[MACRONAME]\n0=a\n");
    const Names bad{"x\ny"};
    EXPECT_FALSE(rewriteMacroIndex(dir.path(), MacroFamily::Mouse, bad));
    EXPECT_EQ(readMacroIndex(dir.path(), MacroFamily::Mouse), (Names{"a"}));
}

TEST(MacroIndex, SingleKeyWritesOfAdd) {
    TempFolder dir;
    ASSERT_TRUE(writeMacroCount(dir.path(), MacroFamily::Mouse, 1));
    ASSERT_TRUE(writeMacroName(dir.path(), MacroFamily::Mouse, 0, "name_1"));
    EXPECT_EQ(readMacroIndex(dir.path(), MacroFamily::Mouse), (Names{"name_1"}));
}

TEST(MacroFile, WritesInTheDocumentedOrder) {
    TempFolder dir;
    const Names lines{"120,0,138,4,1,keyboard_key_A", "0,0,10,4,0,keyboard_key_A"};
    ASSERT_TRUE(writeMacroFile(dir / "name_1.mac", lines, "name_1"));
    EXPECT_EQ(dir.read("name_1.mac"), "[MACROACTIONCOUNT]\ncount=2\n[MACROSELECTNAME]\nname=name_1\n"
                                      "[MACROACTION]\n0=120,0,138,4,1,keyboard_key_A\n"
                                      "1=0,0,10,4,0,keyboard_key_A\n");
    EXPECT_EQ(readMacroLines(dir / "name_1.mac"), lines);
    ASSERT_TRUE(writeMacroFile(dir / "kb.mac", lines));
    EXPECT_EQ(dir.read("kb.mac").find("MACROSELECTNAME"), std::string::npos) << "keyboard family";
}

TEST(MacroFile, ShorterRewriteLeavesOldKeysThatReadersIgnore) {
    TempFolder dir;
    const Names four{"1,0,1,1,1,a", "2,0,1,1,0,b", "3,0,1,1,1,c", "4,0,1,1,0,d"};
    ASSERT_TRUE(writeMacroFile(dir / "m.mac", four));
    const Names two{"9,0,1,1,1,x", "8,0,1,1,0,y"};
    ASSERT_TRUE(writeMacroFile(dir / "m.mac", two));
    EXPECT_EQ(readMacroLines(dir / "m.mac"), two);
    EXPECT_EQ(platform::readProfileString(dir / "m.mac", "MACROACTION", "3", ""), "4,0,1,1,0,d");
}

TEST(MacroFile, MissingFileAndHostileCounts) {
    TempFolder dir;
    EXPECT_TRUE(readMacroActions(dir / "none.mac").empty());
    EXPECT_EQ(readMacroActionCount(dir / "none.mac"), 0u);
    dir.write("big.mac", "[MACROACTIONCOUNT]\ncount=99999999999\n[MACROACTION]\n0=1,0,1,1,1,a\n");
    EXPECT_EQ(readMacroActionCount(dir / "big.mac"), 1u);
    ASSERT_EQ(readMacroActions(dir / "big.mac").size(), 1u);
    EXPECT_EQ(readMacroActions(dir / "big.mac")[0].nameId, "a");
}

TEST(MacroFile, ALineThatCannotBeStoredIsRefused) {
    TempFolder dir;
    const Names bad{"1,0,1,1,1,a\n[MACROACTIONCOUNT]"};
    EXPECT_FALSE(writeMacroFile(dir / "m.mac", bad));
    EXPECT_FALSE(std::filesystem::exists(dir / "m.mac"));
}

TEST(MacroNames, NamesThatWouldLeaveTheFolderHaveNoFile) {
    TempFolder dir;
    for (const char* bad : {"", ".", "..", "../escape", "a/b", "/etc/passwd"})
        EXPECT_FALSE(macroFilePath(dir.path(), bad)) << bad;
    EXPECT_FALSE(macroFilePath(dir.path(), std::string_view("a\0b", 3)));
    EXPECT_EQ(macroFilePath(dir.path(), "Fire"), dir / "Fire.mac");
    dir.write("FIRE.MAC", "");
    EXPECT_EQ(macroFilePath(dir.path(), "fire"), dir / "FIRE.MAC");
}

TEST(FamilyMacros, UnsavedAndUnsafeMacrosHaveNoActions) {
    TempFolder dir;
    (void)std::filesystem::create_directories(dir / "sub");
    dir.write("msMacro.ini", "[MACROCOUNT]\ncount=3\n[MACRONAME]\n0=saved\n1=unsaved\n2=../sub/x\n");
    dir.write("saved.mac", "[MACROACTIONCOUNT]\ncount=1\n[MACROACTION]\n0=5,0,129,1,1,mouse_key_left\n");
    dir.write("sub/x.mac", "[MACROACTIONCOUNT]\ncount=1\n[MACROACTION]\n0=5,0,129,1,1,mouse_key_left\n");
    const auto macros = readFamilyMacros(dir.path(), MacroFamily::Mouse);
    ASSERT_EQ(macros.size(), 3u);
    EXPECT_EQ(macros[0].size(), 1u);
    EXPECT_TRUE(macros[1].empty());
    EXPECT_TRUE(macros[2].empty()) << "a name reaching outside the folder is not followed";
}

} // namespace
} // namespace zq::macros
