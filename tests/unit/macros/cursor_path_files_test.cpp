#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/cursor_path_files.h"
#include "macros/macro_files.h"
#include "platform/private_profile.h"
#include "unit/platform/temp_folder.h"

namespace zq::macros {
namespace {

using test::TempFolder;

// A path in the step layout: three leading actions, then per step pause, X move, Y move and three
// filler actions that the step editor never touches.
std::vector<MacroAction> samplePath() {
    std::vector<MacroAction> a(kCursorPathMaxActions, parseActionLine("7,0,138,4,1,keyboard_key_A"));
    for (std::size_t b = 0; b < kCursorPathSteps; ++b) {
        a[stepActionIndex(b, StepPart::Pause)].setDelay(static_cast<std::uint16_t>(10 + b));
        a[stepActionIndex(b, StepPart::MoveX)] = cursorMoveX({static_cast<std::uint8_t>(b), false});
        a[stepActionIndex(b, StepPart::MoveY)] = cursorMoveY({static_cast<std::uint8_t>(2 * b), true});
    }
    return a;
}

TEST(CursorPathFile, WriteReadRoundTripAndLimit) {
    TempFolder dir;
    const auto path = samplePath();
    ASSERT_TRUE(writeCursorPathFile(dir / "name_1.cur", path));
    EXPECT_EQ(readCursorPathFile(dir / "name_1.cur"), path);
    EXPECT_EQ(dir.read("name_1.cur").find("MACROSELECTNAME"), std::string::npos);

    std::vector<MacroAction> tooLong(kCursorPathMaxActions + 1);
    EXPECT_FALSE(writeCursorPathFile(dir / "name_2.cur", tooLong));
    EXPECT_FALSE(std::filesystem::exists(dir / "name_2.cur"));
}

TEST(CursorPathFile, StepsLoadAndSaveOnlyTheirThreeActions) {
    TempFolder dir;
    const std::filesystem::path file = dir / "name_1.cur";
    ASSERT_TRUE(writeCursorPathFile(file, samplePath()));

    EXPECT_EQ(loadCursorStep(file, 0), (CursorStep{10, {0, false}, {0, true}}));
    EXPECT_EQ(loadCursorStep(file, 29), (CursorStep{39, {29, false}, {58, true}}));
    EXPECT_FALSE(loadCursorStep(file, 30));

    const CursorStep edited{500, {255, true}, {9, false}};
    ASSERT_TRUE(saveCursorStep(file, 29, edited));
    EXPECT_EQ(loadCursorStep(file, 29), edited);
    auto expected = samplePath();
    expected[177].setDelay(500);
    expected[178] = cursorMoveX({255, true});
    expected[179] = cursorMoveY({9, false});
    EXPECT_EQ(readCursorPathFile(file), expected) << "the rest of the file is untouched";
    EXPECT_EQ(platform::readProfileString(file, "MACROACTION", "178", ""),
              "0,0,132,255,1,mouse_move_to_left_text");
    EXPECT_FALSE(saveCursorStep(file, 30, edited));
}

TEST(CursorPathFile, ImportAcceptsAtMost180StatedActions) {
    TempFolder dir;
    dir.write("ok.cur", "[MACROACTIONCOUNT]\ncount=180\n");
    dir.write("long.cur", "[MACROACTIONCOUNT]\ncount=181\n");
    EXPECT_TRUE(isImportableCursorPath(dir / "ok.cur"));
    EXPECT_FALSE(isImportableCursorPath(dir / "long.cur"));
}

class CursorPathStartUp : public testing::Test {
protected:
    void SetUp() override {
        for (std::size_t g = 0; g < kCursorPathSlots; ++g)
            defaults.write(cursorPathFileName(g),
                           "[MACROACTIONCOUNT]\ncount=0\n; default " + std::to_string(g) + "\n");
    }
    TempFolder defaults;
    TempFolder data;
};

TEST_F(CursorPathStartUp, FirstRunWritesTheNamesAndCopiesWithoutReplacing) {
    data.write("name_2.cur", "mine");
    ASSERT_TRUE(ensureCursorPaths(data.path(), defaults.path()));
    EXPECT_EQ(readCursorPathNames(data.path()),
              (std::vector<std::string>{"name_1", "name_2", "name_3", "name_4"}));
    EXPECT_EQ(data.read("name_1.cur"), defaults.read("name_1.cur"));
    EXPECT_EQ(data.read("name_2.cur"), "mine");
    EXPECT_EQ(cursorPathFile(data.path(), 3), data / "name_4.cur");
}

TEST_F(CursorPathStartUp, AnIndexWithCursorCountCopiesNothing) {
    data.write("msMacro.ini", "[CURSORCOUNT]\ncount=4\n");
    ASSERT_TRUE(ensureCursorPaths(data.path(), defaults.path()));
    EXPECT_FALSE(std::filesystem::exists(data / "name_1.cur"));
}

// Without the default files the index names no paths, so the next start copies them once they are there.
TEST_F(CursorPathStartUp, MissingDefaultsLeaveTheIndexForTheNextStart) {
    EXPECT_FALSE(ensureCursorPaths(data.path(), data / "nowhere"));
    EXPECT_TRUE(readCursorPathNames(data.path()).empty());
    ASSERT_TRUE(ensureCursorPaths(data.path(), defaults.path()));
    EXPECT_EQ(readCursorPathNames(data.path()).size(), 4u);
    EXPECT_EQ(data.read("name_4.cur"), defaults.read("name_4.cur"));
}

TEST_F(CursorPathStartUp, ResetReplacesTheSlotsFile) {
    data.write("NAME_3.CUR", "edited");
    ASSERT_TRUE(resetCursorPath(data.path(), defaults.path(), 2));
    EXPECT_EQ(data.read("NAME_3.CUR"), defaults.read("name_3.cur"));
    EXPECT_FALSE(resetCursorPath(data.path(), defaults.path(), 4));
    EXPECT_FALSE(resetCursorPath(data.path(), data / "nowhere", 0)) << "a missing default is a failure";
    EXPECT_FALSE(std::filesystem::exists(data / "name_1.cur"));
}

} // namespace
} // namespace zq::macros
