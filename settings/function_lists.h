#pragma once
// The named functions of the button page's combos, in combo order. Each name is a text id and is also
// the label shown on the button picture. And the thirteen function categories of the category combo.
#include "settings/key_entry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zq::settings {

struct FunctionRow {
    std::string_view name; // text id
    KeyEntry entry;
};

inline constexpr std::array<FunctionRow, 5> kMouseButtonFunctions{{
    {"mouse_key_left", {fn::kMouseButton, mouse_bit::kLeft, 0}},
    {"mouse_key_middle", {fn::kMouseButton, mouse_bit::kMiddle, 0}},
    {"mouse_key_right", {fn::kMouseButton, mouse_bit::kRight, 0}},
    {"mouse_key_forward", {fn::kMouseButton, mouse_bit::kForward, 0}},
    {"mouse_key_back", {fn::kMouseButton, mouse_bit::kBack, 0}},
}};

// Initial rows of the two move combos; the edits overwrite both parameters. The names are the labels of
// the first and second direction.
inline constexpr std::array<FunctionRow, 2> kHorizontalMoveFunctions{{
    {"mouse_key_left_Swing", {fn::kHorizontalMove, 0xFF, 0xFF}},
    {"mouse_key_right_Swing", {fn::kHorizontalMove, 0xFF, 0x01}},
}};
inline constexpr std::array<FunctionRow, 2> kVerticalMoveFunctions{{
    {"mouse_key_up_Swing", {fn::kVerticalMove, 0x01, 0x01}},
    {"mouse_key_down_Swing", {fn::kVerticalMove, 0xFF, 0xFF}},
}};

inline constexpr std::array<FunctionRow, 3> kDpiKeyFunctions{{
    {"mouse_key_DPI_add", {fn::kDpiKey, 1, 0}},
    {"mouse_key_DPI_sub", {fn::kDpiKey, 2, 0}},
    {"mouse_key_DPI_loop", {fn::kDpiKey, 3, 0}},
}};

inline constexpr std::string_view kFireKeyLabel = "mouse_key_fire_key";

// Left Ctrl plus a key usage.
inline constexpr std::array<FunctionRow, 11> kOfficeFunctions{{
    {"combo_open", {fn::kKeyboard, 0x01, 0x12}},
    {"combo_new", {fn::kKeyboard, 0x01, 0x11}},
    {"combo_revocation", {fn::kKeyboard, 0x01, 0x1D}},
    {"combo_save", {fn::kKeyboard, 0x01, 0x16}},
    {"combo_copy", {fn::kKeyboard, 0x01, 0x06}},
    {"combo_cut", {fn::kKeyboard, 0x01, 0x1B}},
    {"combo_paste", {fn::kKeyboard, 0x01, 0x19}},
    {"combo_finde", {fn::kKeyboard, 0x01, 0x09}},
    {"combo_all", {fn::kKeyboard, 0x01, 0x04}},
    {"combo_narrow", {fn::kKeyboard, 0x01, 0x2D}},
    {"combo_magnify", {fn::kKeyboard, 0x01, 0x2E}},
}};

// Consumer usage: p1 the low byte, p2 the high byte.
constexpr KeyEntry consumerEntry(std::uint16_t usage) {
    return KeyEntry{fn::kConsumer, static_cast<std::uint8_t>(usage & 0xFF),
                    static_cast<std::uint8_t>(usage >> 8)};
}

inline constexpr std::array<FunctionRow, 18> kMediaFunctions{{
    {"media_text", consumerEntry(0x0183)},
    {"media_play", consumerEntry(0x00CD)},
    {"media_stop", consumerEntry(0x00B7)},
    {"media_prev", consumerEntry(0x00B6)},
    {"media_next", consumerEntry(0x00B5)},
    {"media_vol_sub", consumerEntry(0x00EA)},
    {"media_vol_add", consumerEntry(0x00E9)},
    {"media_mute", consumerEntry(0x00E2)},
    {"web_text", consumerEntry(0x0223)},
    {"web_refresh", consumerEntry(0x0227)},
    {"wed_stop", consumerEntry(0x0226)},
    {"wed_back", consumerEntry(0x0224)},
    {"wed_forward", consumerEntry(0x0225)},
    {"wed_favorite", consumerEntry(0x022A)},
    {"web_search", consumerEntry(0x0221)},
    {"media_mypc", consumerEntry(0x0194)},
    {"media_calc", consumerEntry(0x0192)},
    {"media_mail", consumerEntry(0x018A)},
}};

inline constexpr std::array<FunctionRow, 3> kSystemFunctions{{
    {"system_power", {fn::kSystem, 0x01, 0}},
    {"system_sleep", {fn::kSystem, 0x02, 0}},
    {"system_wake_up", {fn::kSystem, 0x04, 0}},
}};

inline constexpr std::array<FunctionRow, 4> kRecoilFunctions{{
    {"GUN_1", {fn::kRecoil, 0, 0}},
    {"GUN_2", {fn::kRecoil, 1, 0}},
    {"GUN_3", {fn::kRecoil, 2, 0}},
    {"GUN_4", {fn::kRecoil, 3, 0}},
}};

inline constexpr std::string_view kDisabledLabel = "key_setenable_text";
inline constexpr std::string_view kUnknownFunctionLabel = "close_text";
inline constexpr KeyEntry kDisabledEntry{fn::kDisabled, 0, 0};

// Macro play modes of the mode combo: 0..3 are stored as p2 of a 0x70 entry; 4 means "repeat", which
// writes a 0x71 entry whose p2 is the repeat count.
inline constexpr int kMacroPlayModeCount = 4;
inline constexpr int kMacroRepeatMode = 4;
inline constexpr int kMacroRepeatMin = 1;
inline constexpr int kMacroRepeatMax = 255;

constexpr KeyEntry macroEntry(std::uint8_t macroNumber, int playMode, int repeatCount) {
    if (playMode == kMacroRepeatMode) {
        const int count = repeatCount < kMacroRepeatMin
                              ? kMacroRepeatMin
                              : (repeatCount > kMacroRepeatMax ? kMacroRepeatMax : repeatCount);
        return KeyEntry{fn::kMacroRepeat, macroNumber, static_cast<std::uint8_t>(count)};
    }
    return KeyEntry{fn::kMacro, macroNumber, static_cast<std::uint8_t>(playMode)};
}

// The row of a list whose entry matches on both parameter bytes (and the type).
std::optional<std::size_t> findFunctionRow(std::span<const FunctionRow> rows, KeyEntry entry);

// The list whose rows a function type selects from (empty for types without a list).
std::span<const FunctionRow> functionListOfType(std::uint8_t type);

// ---- categories ----------------------------------------------------------------------------------------

inline constexpr std::size_t kFunctionCategoryCount = 13;
// The class written by the "default" category: the button's entry of the default table.
inline constexpr std::uint8_t kDefaultClass = 0x00;

namespace category {
inline constexpr int kDefault = 0;
inline constexpr int kMouseButton = 1;
inline constexpr int kHorizontalMove = 2;
inline constexpr int kVerticalMove = 3;
inline constexpr int kDpiKey = 4;
inline constexpr int kFireKey = 5;
inline constexpr int kKeyboardKey = 6;
inline constexpr int kMedia = 7;
inline constexpr int kSystem = 8;
inline constexpr int kMacro = 9;
inline constexpr int kRecoil = 10;
inline constexpr int kOffice = 11;
inline constexpr int kDisable = 12;
} // namespace category

struct FunctionCategory {
    int index;                 // entry of the category combo; shows tab page "<prefix>tab_function_<index>"
    std::uint8_t classWritten; // function type of the entry built (kDefaultClass for "default")
    std::string_view combo;    // the category's own combo without the device prefix ("" when it has none)
};

// Combo names are given without their "ms_"/"kb_" prefix so both button pages can use the table.
inline constexpr std::array<FunctionCategory, kFunctionCategoryCount> kFunctionCategories{{
    {category::kDefault, kDefaultClass, ""},
    {category::kMouseButton, fn::kMouseButton, "key_fct_combo_11"},
    {category::kHorizontalMove, fn::kHorizontalMove, "key_fct_combo_12"},
    {category::kVerticalMove, fn::kVerticalMove, "key_fct_combo_13"},
    {category::kDpiKey, fn::kDpiKey, "key_fct_combo_14"},
    {category::kFireKey, fn::kFireKey, ""},
    {category::kKeyboardKey, fn::kKeyboard, ""},
    {category::kMedia, fn::kConsumer, "key_fct_combo_21"},
    {category::kSystem, fn::kSystem, "key_fct_combo_22"},
    {category::kMacro, fn::kMacro, "key_fct_combo_23"},
    {category::kRecoil, fn::kRecoil, "key_fct_combo_25"},
    {category::kOffice, fn::kKeyboard, "key_fct_combo_26"},
    {category::kDisable, fn::kDisabled, ""},
}};

// The category a stored entry is shown under when it is not the button's default. Keyboard entries are
// office shortcuts when both parameters are set and an office row matches, otherwise captured keys.
// Types without an editor of their own (0x15, 0x21, 0x50, ...) give no category.
std::optional<int> categoryOfEntry(KeyEntry entry);

} // namespace zq::settings
