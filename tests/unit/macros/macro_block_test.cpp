#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "macros/macro_block.h"

namespace zq::macros {
namespace {

MacroAction wire(std::uint16_t delay, std::uint8_t type, std::uint8_t code) {
    MacroAction a;
    a.setDelay(delay);
    a.type = type;
    a.code = code;
    a.pressed = 1;         // never sent
    a.nameId = "anything"; // never sent
    return a;
}

TEST(MacroBlock, WorkedExampleByteForByte) {
    const std::vector<std::vector<MacroAction>> macros{
        {wire(120, 0x8A, 0x04), wire(0, 0x0A, 0x04)},
        {wire(50, 0x81, 0x01)},
    };
    const std::vector<std::uint8_t> expected{
        0xAA, 0x55, 0x28, 0x00, 0x02, 0x00, 0,    0,    0,    0,    0,    0,    0,    0,    0,    0, // header
        0x14, 0x00, 0x20, 0x00, // offsets 20, 32
        0x02, 0x00, 0x00, 0x00, 0x78, 0x00, 0x8A, 0x04, 0x00, 0x00, 0x0A, 0x04, 0x01, 0x00, 0x00, 0x00,
        0x32, 0x00, 0x81, 0x01,
    };
    EXPECT_EQ(buildMacroBlock(macros), expected);
}

TEST(MacroBlock, OneEmptyMacroIs22Bytes) {
    const std::vector<std::vector<MacroAction>> macros{{}};
    const auto block = buildMacroBlock(macros);
    ASSERT_EQ(block.size(), 22u);
    EXPECT_EQ(block[2], 22);
    EXPECT_EQ(block[4], 1);
    EXPECT_EQ(block[16], 18) << "record right after the one-entry offset table";
    EXPECT_EQ(block[18], 0) << "zero actions";
}

TEST(MacroBlock, SizeFormula) {
    EXPECT_EQ(macroBlockSize(std::vector<std::uint64_t>{}), 16u);
    const std::vector<std::uint64_t> fourFullPaths(4, 180);
    EXPECT_EQ(macroBlockSize(fourFullPaths), 2920u);
    // Hostile counts saturate instead of wrapping to something small.
    const std::vector<std::uint64_t> huge{UINT64_MAX / 2, UINT64_MAX / 2};
    EXPECT_EQ(macroBlockSize(huge), UINT64_MAX);
}

TEST(MacroBlock, LargerThanTheSizeFieldIsRefused) {
    // 16 + 6 + 4·16378 = 65534 fits; one action more does not.
    std::vector<std::vector<MacroAction>> macros{std::vector<MacroAction>(16378, wire(1, 0x8A, 4))};
    EXPECT_EQ(buildMacroBlock(macros).size(), 65534u);
    macros[0].push_back(wire(1, 0x8A, 4));
    EXPECT_TRUE(buildMacroBlock(macros).empty());
}

TEST(MacroBlock, Capacity) {
    std::array<std::uint8_t, 33> info{};
    info[5] = 9; // key count: not the memory
    info[6] = 8;
    EXPECT_EQ(macroCapacity(info), 1024u);
    info[6] = 255;
    EXPECT_EQ(macroCapacity(info), 32640u);
    EXPECT_EQ(macroCapacity(std::span<const std::uint8_t>(info.data(), 6)), 0u);
}

TEST(MacroBlock, ExcessActions) {
    EXPECT_EQ(excessActions(1030, 1024), 2u);
    EXPECT_EQ(excessActions(1025, 1024), 1u);
    EXPECT_EQ(excessActions(1028, 1024), 2u);
    EXPECT_EQ(excessActions(1024, 1024), 0u) << "equal fits";
}

} // namespace
} // namespace zq::macros
