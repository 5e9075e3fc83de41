#include <gtest/gtest.h>

#include <string>

#include "macros/macro_files.h"
#include "macros/macro_import.h"
#include "platform/private_profile.h"
#include "unit/platform/temp_folder.h"

namespace zq::macros {
namespace {

using test::TempFolder;
using Verdict = ImportCheck::Verdict;

TEST(MacroImport, RefusesWhatIsNoMacroFileOrHoldsTooMuch) {
    struct Case {
        const char* what;
        std::string bytes;
        bool acceptEmpty;
        Verdict verdict;
    };
    const std::string big =
        "[MACROACTIONCOUNT]\ncount=1\n" + std::string(platform::kMaxProfileFileBytes, ';');
    const Case cases[] = {
        {"a saved macro",
         "[MACROACTIONCOUNT]\ncount=2\n[MACROACTION]\n0=120,0,138,4,1,keyboard_key_A\n"
         "1=0,0,10,4,0,keyboard_key_A\n",
         true, Verdict::Accepted},
        {"180 actions are the most", "[MACROACTIONCOUNT]\ncount=180\n", true, Verdict::Accepted},
        {"181 are too many", "[macroactioncount]\nCOUNT=181\n", true, Verdict::TooManyActions},
        {"an absurd count", "[MACROACTIONCOUNT]\ncount=4000000000\n", true, Verdict::NotMacroFile},
        {"an empty export of an unsaved macro", "", true, Verdict::Accepted},
        {"an empty file as a cursor path", "", false, Verdict::NotMacroFile},
        {"a count that is no number", "[MACROACTIONCOUNT]\ncount=two\n", true, Verdict::NotMacroFile},
        {"a negative count", "[MACROACTIONCOUNT]\ncount=-1\n", true, Verdict::NotMacroFile},
        {"no count", "[MACROACTION]\n0=0,0,10,4,0,keyboard_key_A\n", true, Verdict::NotMacroFile},
        {"a profile file", std::string("\xAA\x55\x02\x00\x00\x00", 6), true, Verdict::NotMacroFile},
        {"a picture", "\x89PNG\r\n\x1a\n", true, Verdict::NotMacroFile},
        {"a file too large for the INI reader", big, true, Verdict::NotMacroFile},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        dir.write("in.mac", c.bytes);
        const ImportCheck check = checkImportFile(dir / "in.mac", kMaxImportedMacroActions, c.acceptEmpty);
        EXPECT_EQ(check.verdict, c.verdict) << c.what;
        if (check.verdict == Verdict::Accepted) {
            EXPECT_EQ(check.bytes, c.bytes) << c.what;
        }
    }
}

TEST(MacroImport, MissingFileOrFolderIsUnreadable) {
    TempFolder dir;
    EXPECT_EQ(checkImportFile(dir / "none.mac", 180, true).verdict, Verdict::Unreadable);
    EXPECT_EQ(checkImportFile(dir.path(), 180, true).verdict, Verdict::Unreadable);
}

TEST(MacroExport, CopiesTheStoredFileAndAnUnsavedMacroAsEmpty) {
    TempFolder dir;
    dir.write("a.mac", "[MACROACTIONCOUNT]\r\ncount=0\r\n");
    EXPECT_EQ(readExportBytes(dir / "a.mac"),
              std::optional<std::string>("[MACROACTIONCOUNT]\r\ncount=0\r\n"));
    EXPECT_EQ(readExportBytes(dir / "never_saved.mac"), std::optional<std::string>(""));
    ASSERT_TRUE(writeExportFile(dir / "out.mac", "x"));
    EXPECT_EQ(dir.read("out.mac"), "x");
    EXPECT_FALSE(writeExportFile(dir / "no" / "such" / "folder.mac", "x"));
}

TEST(MacroRename, RefusesTakenAndUnusableNamesAndKeepsBothFiles) {
    TempFolder dir;
    dir.write("Fire.mac", "[MACROACTIONCOUNT]\ncount=0\n");
    dir.write("STRAY.mac", "stray");
    EXPECT_EQ(renameMacroFile(dir.path(), "Fire", "stray"), MacroRename::TargetExists) << "any letter case";
    EXPECT_EQ(dir.read("Fire.mac"), "[MACROACTIONCOUNT]\ncount=0\n");
    EXPECT_EQ(dir.read("STRAY.mac"), "stray");
    for (const char* bad : {"", ".", "..", "a/b", " lead", "trail ", "line\nbreak"})
        EXPECT_EQ(renameMacroFile(dir.path(), "Fire", bad), MacroRename::BadName) << bad;
    EXPECT_EQ(renameMacroFile(dir.path(), "Fire", std::string("nul\0x", 5)), MacroRename::BadName);
    EXPECT_EQ(renameMacroFile(dir.path(), "Fire", std::string(kMaxMacroNameBytes + 1, 'x')),
              MacroRename::BadName);

    EXPECT_EQ(renameMacroFile(dir.path(), "never_saved", "Other"), MacroRename::NoFile);
    EXPECT_EQ(renameMacroFile(dir.path(), "Fire", "Reload"), MacroRename::Renamed);
    EXPECT_FALSE(std::filesystem::exists(dir / "Fire.mac"));
    EXPECT_EQ(dir.read("Reload.mac"), "[MACROACTIONCOUNT]\ncount=0\n");
}

TEST(MacroIndexEntry, WritesCountAndNameTogether) {
    TempFolder dir;
    ASSERT_TRUE(writeMacroIndexEntry(dir.path(), MacroFamily::Keyboard, 2, 1, "Reload"));
    EXPECT_EQ(platform::readProfileString(dir / "kbMacro.ini", "MACROCOUNT", "count", ""), "2");
    EXPECT_EQ(platform::readProfileString(dir / "kbMacro.ini", "MACRONAME", "1", ""), "Reload");
    EXPECT_TRUE(deleteMacroFile(dir.path(), "Reload")) << "no file is no failure";
}

} // namespace
} // namespace zq::macros
