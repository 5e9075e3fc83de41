#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/block_plan.h"
#include "macros/cursor_path_files.h"
#include "macros/macro_block.h"
#include "unit/platform/temp_folder.h"

namespace zq::macros {
namespace {

using test::TempFolder;
using Outcome = BlockPlan::Outcome;

// A family whose macros have these action counts, saved as files.
void writeFamily(const TempFolder& dir, const std::vector<std::size_t>& counts) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        names.push_back("m");
        names.back() += std::to_string(i); // appended: GCC 12 at -O3 misreads "m" + std::to_string(i)
        const std::vector<std::string> lines(counts[i], "1,0,138,4,1,keyboard_key_A");
        ASSERT_TRUE(writeMacroFile(dir / (names.back() + ".mac"), lines, names.back()));
    }
    ASSERT_TRUE(rewriteMacroIndex(dir.path(), MacroFamily::Mouse, names));
}

TEST(MacroTransferPlan, NoMacrosSendsNoBlock) {
    TempFolder dir;
    EXPECT_EQ(planMacroTransfer(dir.path(), MacroFamily::Mouse, 1024).outcome, Outcome::Nothing);
    writeFamily(dir, {});
    EXPECT_EQ(planMacroTransfer(dir.path(), MacroFamily::Mouse, 1024).outcome, Outcome::Nothing);
}

TEST(MacroTransferPlan, CapacityEqualIsAcceptedOneByteMoreIsNot) {
    // 16 + 6·2 + 4·(100 + 149) = 1024.
    TempFolder dir;
    writeFamily(dir, {100, 149});
    const BlockPlan fits = planMacroTransfer(dir.path(), MacroFamily::Mouse, 1024);
    ASSERT_EQ(fits.outcome, Outcome::Ready);
    EXPECT_EQ(fits.block.size(), 1024u);
    EXPECT_EQ(fits.total, 1024u);

    const BlockPlan over = planMacroTransfer(dir.path(), MacroFamily::Mouse, 1023);
    EXPECT_EQ(over.outcome, Outcome::TooLarge);
    EXPECT_EQ(over.excess, 1u);
    EXPECT_TRUE(over.block.empty());
}

TEST(MacroTransferPlan, ExcessForTheMessage) {
    // 16 + 6·3 + 4·249 = 1030 against 8 units of 128 bytes.
    TempFolder dir;
    writeFamily(dir, {249, 0, 0});
    const BlockPlan plan = planMacroTransfer(dir.path(), MacroFamily::Mouse, 8 * 128);
    EXPECT_EQ(plan.total, 1030u);
    EXPECT_EQ(plan.outcome, Outcome::TooLarge);
    EXPECT_EQ(plan.excess, 2u);
}

TEST(MacroTransferPlan, UnsavedMacroIsAFourByteRecord) {
    TempFolder dir;
    ASSERT_TRUE(writeMacroCount(dir.path(), MacroFamily::Keyboard, 1));
    ASSERT_TRUE(writeMacroName(dir.path(), MacroFamily::Keyboard, 0, "never_saved"));
    const BlockPlan plan = planMacroTransfer(dir.path(), MacroFamily::Keyboard, 1024);
    ASSERT_EQ(plan.outcome, Outcome::Ready);
    EXPECT_EQ(plan.block.size(), 22u);
}

TEST(MacroTransferPlan, TheBlockIsBuiltFromTheFilesInIndexOrder) {
    TempFolder dir;
    ASSERT_TRUE(writeMacroFile(dir / "b.mac", std::vector<std::string>{"50,0,129,1,1,mouse_key_left"}, "b"));
    ASSERT_TRUE(writeMacroFile(
        dir / "a.mac", std::vector<std::string>{"120,0,138,4,1,keyboard_key_A", "0,0,10,4,0,keyboard_key_A"},
        "a"));
    const std::vector<std::string> names{"a", "b"};
    ASSERT_TRUE(rewriteMacroIndex(dir.path(), MacroFamily::Mouse, names));
    const BlockPlan plan = planMacroTransfer(dir.path(), MacroFamily::Mouse, 32640);
    ASSERT_EQ(plan.outcome, Outcome::Ready);
    const std::vector<std::uint8_t> tail{0x01, 0x00, 0x00, 0x00, 0x32, 0x00, 0x81, 0x01};
    ASSERT_EQ(plan.block.size(), 40u);
    EXPECT_EQ(std::vector<std::uint8_t>(plan.block.begin() + 32, plan.block.end()), tail);
}

TEST(MacroTransferPlan, ADeviceClaimingMoreThanTheSizeFieldHoldsIsStillBounded) {
    std::vector<std::vector<MacroAction>> macros{std::vector<MacroAction>(16379)};
    const BlockPlan plan = planBlock(macros, 1u << 20);
    EXPECT_EQ(plan.outcome, Outcome::TooLarge);
    EXPECT_EQ(plan.total, 65538u);
}

class CursorPathPlan : public testing::Test {
protected:
    void writePaths(std::size_t actionsEach) {
        std::vector<MacroAction> actions(actionsEach, cursorMoveX({3, true}));
        for (std::size_t g = 0; g < kCursorPathSlots; ++g)
            ASSERT_TRUE(writeMacroFile(dir / cursorPathFileName(g), actions));
    }
    TempFolder dir;
};

TEST_F(CursorPathPlan, FourFullPathsAreSent) {
    ASSERT_TRUE(rewriteMacroIndex(dir.path(), MacroFamily::Mouse, std::vector<std::string>{}));
    writePaths(180);
    const BlockPlan plan = planCursorPathTransfer(dir.path());
    ASSERT_EQ(plan.outcome, Outcome::Ready);
    EXPECT_EQ(plan.block.size(), 2920u);
    EXPECT_EQ(plan.block[4], 4) << "four paths";
}

TEST_F(CursorPathPlan, OverTheLimitIsNotSent) {
    ASSERT_TRUE(rewriteMacroIndex(dir.path(), MacroFamily::Mouse, std::vector<std::string>{}));
    // 16 + 24 + 4·4·189 = 3064 fits; 4·190 actions make 3080.
    writePaths(189);
    EXPECT_EQ(planCursorPathTransfer(dir.path()).outcome, Outcome::Ready);
    writePaths(190);
    EXPECT_EQ(planCursorPathTransfer(dir.path()).outcome, Outcome::TooLarge);
}

TEST_F(CursorPathPlan, NoCursorCountIsNothingToDo) {
    writePaths(180);
    EXPECT_EQ(planCursorPathTransfer(dir.path()).outcome, Outcome::Nothing);
}

} // namespace
} // namespace zq::macros
