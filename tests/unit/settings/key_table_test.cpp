#include "settings/default_key_tables.h"
#include "settings/function_lists.h"
#include "settings/key_entry.h"
#include "settings/key_labels.h"
#include "settings/key_table_placement.h"

#include <gtest/gtest.h>

#include <set>

namespace zq::settings {
namespace {

constexpr KeyEntry kLeft{0x10, 0x01, 0}, kMiddle{0x10, 0x04, 0}, kRight{0x10, 0x02, 0},
    kForward{0x10, 0x10, 0}, kBack{0x10, 0x08, 0}, kNone{0x10, 0x00, 0}, kDpiUp{0x13, 1, 0},
    kDpiDown{0x13, 2, 0};

TEST(DefaultKeyTables, KnownEntriesAndFiller) {
    const std::array<std::array<KeyEntry, 9>, 3> expected{{
        {kLeft, kMiddle, kRight, kForward, kBack, kDpiUp, kDpiDown, kNone, kNone},
        {kRight, kMiddle, kLeft, kNone, kNone, kDpiUp, kDpiDown, kForward, kBack},
        {kLeft, kMiddle, kRight, kForward, kBack, kDpiUp, kDpiDown, kForward, kBack},
    }};
    for (std::size_t slot = 0; slot < 3; ++slot) {
        const auto& table = kDefaultKeyTables[slot];
        for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(table.entry(i), expected[slot][i]) << slot << "/" << i;
        for (std::size_t i = 27; i < kKeyTableSize; ++i) ASSERT_EQ(table.bytes[i], 0x05) << slot << "/" << i;
    }
    EXPECT_EQ(&defaultKeyTableForSlot(1), &kDefaultKeyTables[1]);
    EXPECT_EQ(&defaultKeyTableForSlot(4), &kDefaultKeyTables[2]); // slots 3-5 use the both-sides layout
    EXPECT_EQ(&defaultKeyTableForSlot(-1), &kDefaultKeyTables[0]);
}

TEST(KeyAssignmentTable, EntriesAndOnlyLeftClickGuard) {
    KeyAssignmentTable t = kDefaultKeyTables[0];
    EXPECT_TRUE(isOnlyLeftClick(t, 0));
    EXPECT_FALSE(isOnlyLeftClick(t, 2)); // not a left click at all
    t.setEntry(8, kLeft);
    EXPECT_FALSE(isOnlyLeftClick(t, 0));
    EXPECT_EQ((std::array{t.bytes[24], t.bytes[25], t.bytes[26]}),
              (std::array<std::uint8_t, 3>{0x10, 0x01, 0}));
    // Out-of-range entries neither read nor write past the table.
    t.setEntry(170, kLeft);
    EXPECT_EQ(t.entry(170), KeyEntry{});
    EXPECT_EQ(t.entry(169), (KeyEntry{0x05, 0x05, 0x05}));
}

TEST(KeyEntry, PointerMoveEncodings) {
    // Horizontal: the second direction is the sign bit plus the distance.
    EXPECT_EQ(encodeHorizontalMove({true, 5, 0, 0}).p2, 0x85);
    EXPECT_EQ(decodeHorizontalMove({0x11, 0x00, 0x85}), (MoveParams{true, 5, 0, 0}));
    EXPECT_EQ(encodeHorizontalMove({false, 5, 15, 15}), (KeyEntry{0x11, 0xFF, 5}));
    // Vertical: two's complement.
    EXPECT_EQ(encodeVerticalMove({true, 5, 0, 0}).p2, 0xFB);
    EXPECT_EQ(decodeVerticalMove({0x12, 0x00, 0xFB}), (MoveParams{true, 5, 0, 0}));
    EXPECT_EQ(decodeVerticalMove({0x12, 0x3A, 7}), (MoveParams{false, 7, 3, 0xA}));
    // Out-of-range edit values are pulled into range, never spilling into the other nibble or bit 7.
    EXPECT_EQ(encodeHorizontalMove({false, 300, 16, 99}), (KeyEntry{0x11, 0xFF, 127}));
    EXPECT_EQ(encodeVerticalMove({false, -4, -1, 2}), (KeyEntry{0x12, 0x02, 0}));
    for (int d = 1; d <= 127; ++d) {
        EXPECT_EQ(decodeHorizontalMove(encodeHorizontalMove({true, d, 0, 0})).distance, d);
        EXPECT_EQ(decodeVerticalMove(encodeVerticalMove({true, d, 0, 0})).distance, d);
    }
}

TEST(FunctionLists, ShapesAndKnownRows) {
    EXPECT_EQ(kMouseButtonFunctions.size(), 5u);
    EXPECT_EQ(kDpiKeyFunctions.size(), 3u);
    EXPECT_EQ(kOfficeFunctions.size(), 11u);
    EXPECT_EQ(kMediaFunctions.size(), 18u);
    EXPECT_EQ(kSystemFunctions.size(), 3u);
    EXPECT_EQ(kRecoilFunctions.size(), 4u);
    EXPECT_EQ(kFunctionCategories.size(), 13u);
    for (std::size_t i = 0; i < kFunctionCategories.size(); ++i)
        EXPECT_EQ(kFunctionCategories[i].index, int(i));

    EXPECT_EQ(kMediaFunctions[0].entry, (KeyEntry{0x30, 0x83, 0x01}));  // media_text 0x0183
    EXPECT_EQ(kMediaFunctions[17].entry, (KeyEntry{0x30, 0x8A, 0x01})); // media_mail 0x018A
    EXPECT_EQ(kOfficeFunctions[4].entry, (KeyEntry{0x20, 0x01, 0x06})); // combo_copy
    EXPECT_EQ(kSystemFunctions[2].entry, (KeyEntry{0x40, 0x04, 0x00})); // wake-up
    EXPECT_EQ(kFunctionCategories[category::kOffice].classWritten, fn::kKeyboard);
    EXPECT_EQ(kFunctionCategories[category::kMacro].combo, "key_fct_combo_23");

    // Every named row within a list is distinct, so a stored entry selects one row.
    for (auto list :
         {std::span<const FunctionRow>(kMediaFunctions), std::span<const FunctionRow>(kOfficeFunctions)}) {
        std::set<std::tuple<int, int, int>> seen;
        for (const auto& row : list)
            EXPECT_TRUE(seen.insert({row.entry.type, row.entry.p1, row.entry.p2}).second);
    }
}

TEST(FunctionLists, MacroEntryAndCategoryOfEntry) {
    EXPECT_EQ(macroEntry(3, 2, 0), (KeyEntry{0x70, 3, 2}));
    EXPECT_EQ(macroEntry(3, 4, 300), (KeyEntry{0x71, 3, 255}));
    EXPECT_EQ(macroEntry(3, 4, 0), (KeyEntry{0x71, 3, 1}));

    const std::pair<KeyEntry, std::optional<int>> cases[] = {
        {{0x20, 0x01, 0x06}, category::kOffice},
        {{0x20, 0x00, 0x06}, category::kKeyboardKey},
        {{0x20, 0x02, 0x06}, category::kKeyboardKey},
        {{0x11, 0, 0}, category::kHorizontalMove},
        {{0x71, 1, 9}, category::kMacro},
        {{0xA0, 0, 0}, std::nullopt},
        {{0x50, 0, 0}, std::nullopt},
    };
    for (auto [entry, cat] : cases) EXPECT_EQ(categoryOfEntry(entry), cat) << int(entry.type);
}

TEST(KeyLabels, Rules) {
    using K = KeyLabel::Kind;
    struct Case {
        KeyEntry entry;
        K kind;
        std::string_view text;
    };
    const Case cases[] = {
        {{0x05, 0x05, 0x05}, K::TextId, "close_text"},
        {{0x21, 0, 0}, K::TextId, "close_text"},
        {{0x50, 0, 0}, K::Keep, ""},
        {{0x15, 0, 0}, K::Keep, ""},
        {{0xC0, 1, 1}, K::Keep, ""},
        {{0x20, 0x01, 0x06}, K::TextId, "combo_copy"}, // office name wins over a key name
        {{0x00, 0x01, 0x06}, K::TextId, "combo_copy"},
        {{0x20, 0x00, 0x31}, K::TextId, "keyboard_key_xiegang"},
        {{0x20, 0x02, 0x00}, K::TextId, "keyboard_key_LShift"},
        {{0x20, 0xE9, 0x00}, K::TextId, "keyboard_key_Volume Up"}, // named over the whole table
        {{0x00, 0x04, 0x00}, K::TextId, "keyboard_key_LAlt"},      // the first row with the pair
        {{0x20, 0x00, 0x00}, K::Keep, ""},
        {{0x10, 0x10, 0}, K::TextId, "mouse_key_forward"},
        {{0x10, 0x00, 0}, K::Keep, ""}, // "none" has no name
        {{0x13, 3, 0}, K::TextId, "mouse_key_DPI_loop"},
        {{0x30, 0xE9, 0x00}, K::TextId, "media_vol_add"},
        {{0x40, 0x02, 0}, K::TextId, "system_sleep"},
        {{0x11, 0xFF, 0x85}, K::TextId, "mouse_key_right_Swing"},
        {{0x11, 0xFF, 0x05}, K::TextId, "mouse_key_left_Swing"},
        {{0x12, 0x00, 0xFB}, K::TextId, "mouse_key_down_Swing"},
        {{0x14, 1, 1}, K::TextId, "mouse_key_fire_key"},
        {{0x72, 3, 0}, K::TextId, "GUN_4"},
        {{0x72, 4, 0}, K::Keep, ""},
        {{0xA0, 0, 0}, K::TextId, "key_setenable_text"},
    };
    for (const auto& c : cases) {
        const auto label = labelForEntry(c.entry);
        EXPECT_EQ(label.kind, c.kind)
            << int(c.entry.type) << "," << int(c.entry.p1) << "," << int(c.entry.p2);
        EXPECT_EQ(label.text, c.text) << int(c.entry.type);
    }
    EXPECT_EQ(labelForEntry({0x71, 7, 20}), (KeyLabel{K::MacroName, {}, 7}));
    EXPECT_EQ(labelForEntry({0x05, 0, 0}, LabelPage::Keyboard),
              (KeyLabel{K::PlainText, "\xE5\x85\xB3\xE9\x97\xAD", 0}));
}

TEST(KeyTablePlacement, SlotOffsets) {
    KeyAssignmentTable table;
    for (std::size_t i = 0; i < kKeyTableSize; ++i) table.bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);

    EXPECT_EQ(placeKeyTableForSlot(table, 0, PlacementBase::Zeroed), table.bytes);
    for (int slot : {1, 2, 4}) {
        const std::size_t at = static_cast<std::size_t>(slot) * 126;
        for (auto base : {PlacementBase::Zeroed, PlacementBase::OwnTable}) {
            const auto page = placeKeyTableForSlot(table, slot, base);
            for (std::size_t i = 0; i < at; ++i)
                ASSERT_EQ(page[i], base == PlacementBase::Zeroed ? 0 : table.bytes[i]) << slot << "/" << i;
            for (std::size_t i = at; i < kKeyTableSize; ++i)
                ASSERT_EQ(page[i], table.bytes[i - at]) << slot << "/" << i;
        }
    }
    // Slot 5 would start at 630, past the page: nothing is shifted in and nothing is written past it.
    EXPECT_EQ(placeKeyTableForSlot(table, 5, PlacementBase::OwnTable), table.bytes);
    EXPECT_EQ(placeKeyTableForSlot(table, 5, PlacementBase::Zeroed), (std::array<std::uint8_t, 512>{}));
}

} // namespace
} // namespace zq::settings
