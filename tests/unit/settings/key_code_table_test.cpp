#include "settings/function_types.h"
#include "settings/key_code_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace zq::settings {
namespace {

TEST(KeyCodeTable, ShapeAndClassRanges) {
    ASSERT_EQ(kKeyCodeTable.size(), 125u);
    for (std::size_t i = 0; i < kKeyCodeTable.size(); ++i) {
        const auto& row = kKeyCodeTable[i];
        const std::uint8_t expectedClass = i < kFirstConsumerRow ? fn::kKeyboard
                                           : i < kFirstSystemRow ? fn::kConsumer
                                                                 : fn::kSystem;
        EXPECT_EQ(row.keyClass, expectedClass) << i;
        EXPECT_TRUE(row.name.starts_with("keyboard_key_")) << i;
        // Modifiers carry only their bit, ordinary keys only their usage.
        if (i < 8) {
            EXPECT_EQ(row.p2, 0) << i;
        } else if (i < kFirstConsumerRow) {
            EXPECT_EQ(row.p1, 0) << i;
        }
    }
    std::set<std::string_view> names;
    for (const auto& row : kKeyCodeTable) names.insert(row.name);
    EXPECT_EQ(names.size(), 124u); // rows 120 and 121 are the same row
    EXPECT_EQ(kKeyCodeTable[120].name, kKeyCodeTable[121].name);
}

TEST(KeyCodeTable, KnownRows) {
    struct Case {
        std::size_t row;
        std::uint16_t vk;
        std::uint8_t p1, p2;
        std::string_view name;
    };
    const Case cases[] = {
        {0, 0xA2, 0x01, 0x00, "keyboard_key_LCtrl"},
        {7, 0x5C, 0x80, 0x00, "keyboard_key_RWin"},
        {8, 0x41, 0x00, 0x04, "keyboard_key_A"},
        {33, 0x5A, 0x00, 0x1D, "keyboard_key_Z"},
        {43, 0x30, 0x00, 0x27, "keyboard_key_0"},
        {53, 0xDC, 0x00, 0x31, "keyboard_key_xiegang"},
        {54, 0xBA, 0x00, 0x33, "keyboard_key_;"},
        {72, 0x7B, 0x00, 0x45, "keyboard_key_F12"},
        {91, 0x101, 0x00, 0x58, "keyboard_key_Num Enter"},
        {101, 0x60, 0x00, 0x62, "keyboard_key_Num 0"},
        {103, 0x5D, 0x00, 0x65, "keyboard_key_App"},
        {104, 0xB7, 0x92, 0x01, "keyboard_key_Launch App2"},
        {109, 0xAF, 0xE9, 0x00, "keyboard_key_Volume Up"},
        {122, 0x103, 0x01, 0x00, "keyboard_key_Power"},
        {124, 0x105, 0x04, 0x00, "keyboard_key_Wakeup"},
    };
    for (const auto& c : cases) {
        const auto& row = kKeyCodeTable[c.row];
        EXPECT_EQ(row.vk, c.vk) << c.row;
        EXPECT_EQ(row.p1, c.p1) << c.row;
        EXPECT_EQ(row.p2, c.p2) << c.row;
        EXPECT_EQ(row.name, c.name) << c.row;
    }
}

TEST(KeyCodeTable, RowBytesAreLittleEndian) {
    EXPECT_EQ(keyCodeRowBytes(kKeyCodeTable[91]),
              (std::array<std::uint8_t, 6>{0x01, 0x01, 0x20, 0x00, 0x58, 0x00}));
    EXPECT_EQ(keyCodeRowBytes(kKeyCodeTable[109]),
              (std::array<std::uint8_t, 6>{0xAF, 0x00, 0x30, 0xE9, 0x00, 0x00}));
}

TEST(KeyCodeTable, Lookups) {
    // Enter without and with the extended-key flag.
    EXPECT_EQ(kKeyCodeTable[*findKeyByVirtualKey(captureVirtualKey(0x0D, 0))].name, "keyboard_key_Enter");
    EXPECT_EQ(kKeyCodeTable[*findKeyByVirtualKey(captureVirtualKey(0x0D, 1))].name, "keyboard_key_Num Enter");
    EXPECT_EQ(kKeyCodeTable[*findKeyByVirtualKey(captureVirtualKey(0x0D, 129))].name,
              "keyboard_key_Num Enter");
    EXPECT_EQ(captureVirtualKey(0x0D, 0x80), 0x0D); // only flags 1 and 129 mark the keypad key

    EXPECT_EQ(kKeyCodeTable[*findKeyByCodePair(0x00, 0x31)].name, "keyboard_key_xiegang");
    EXPECT_EQ(kKeyCodeTable[*findKeyByCodePair(0x02, 0x00)].name, "keyboard_key_LShift");
    EXPECT_EQ(findKeyByVirtualKey(0xB5), std::optional<std::size_t>{120}); // first of two equal rows

    // A consumer key's pair is found over all rows but not over the keyboard rows.
    EXPECT_EQ(findKeyByCodePair(0xE9, 0x00), std::optional<std::size_t>{109});
    EXPECT_EQ(findKeyByCodePair(0xE9, 0x00, kFirstConsumerRow), std::nullopt);

    EXPECT_EQ(findKeyByVirtualKey(0x07), std::nullopt);
    EXPECT_EQ(findKeyByCodePair(0x00, 0x00), std::nullopt);
}

TEST(KeyCodeTable, CaptureTakesOnlyKeyboardRows) {
    const auto keypadEnter = captureKeyRow(0x0D, 1);
    ASSERT_TRUE(keypadEnter);
    EXPECT_EQ(kKeyCodeTable[*keypadEnter].p1, 0x00);
    EXPECT_EQ(kKeyCodeTable[*keypadEnter].p2, 0x58);
    EXPECT_EQ(captureKeyRow(0xAF, 0), std::nullopt);  // volume up is a consumer key
    EXPECT_EQ(captureKeyRow(0x103, 0), std::nullopt); // power is a system key
    EXPECT_EQ(captureKeyRow(0x07, 0), std::nullopt);  // no row at all
}

TEST(MouseEventTable, ShapeAndLookup) {
    ASSERT_EQ(kMouseEventTable.size(), 15u);
    for (std::size_t i = 0; i < 10; ++i) { // button rows alternate press and release
        EXPECT_EQ(kMouseEventTable[i].keyClass, 0x10);
        EXPECT_EQ(kMouseEventTable[i].flag, i % 2 == 0 ? 0x81 : 0x01) << i;
    }
    struct Case {
        std::uint16_t message;
        std::size_t row;
        std::uint8_t bit;
        bool press;
    };
    const Case cases[] = {{0x0201, 0, 0x01, true}, {0x0202, 1, 0x01, false}, {0x0205, 3, 0x02, false},
                          {0x020B, 6, 0x10, true}, {0x020C, 7, 0x10, false}, {0x020A, 14, 0x00, false}};
    for (const auto& c : cases) {
        const auto row = findMouseEvent(c.message);
        ASSERT_TRUE(row) << c.message;
        EXPECT_EQ(*row, c.row);
        EXPECT_EQ(kMouseEventTable[*row].p1, c.bit);
        EXPECT_EQ(kMouseEventTable[*row].isPress(), c.press);
    }
    EXPECT_EQ(findMouseEvent(0x0200), std::nullopt); // a plain move is not in the table
}

} // namespace
} // namespace zq::settings
