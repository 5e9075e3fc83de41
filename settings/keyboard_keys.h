#pragma once
// The keyboard's keys: which key sits at each of the 126 key indexes (the order of the key table's
// entries, of the light frame and of the "kb_key_" labels on the keyboard picture), and the factory key
// table that gives every key its own function.
#include "settings/key_code_table.h"
#include "settings/key_entry.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zq::settings {

inline constexpr std::size_t kKeyboardKeyIndexCount = 126;

// Key names by key index, row by row from the top-left: function row (0-15), number row (21-41), Tab row
// (42-61), Caps Lock row (63-78), Shift row (84-99), bottom row (105-119). "" marks an index without a key.
// clang-format off
inline constexpr std::array<std::string_view, kKeyboardKeyIndexCount> kKeyboardKeyNames{
    "keyboard_key_Esc", "keyboard_key_F1", "keyboard_key_F2", "keyboard_key_F3", "keyboard_key_F4", "keyboard_key_F5", // 0
    "keyboard_key_F6", "keyboard_key_F7", "keyboard_key_F8", "keyboard_key_F9", "keyboard_key_F10", "keyboard_key_F11", // 6
    "keyboard_key_F12", "keyboard_key_Print Scr", "keyboard_key_Scroll Lock", "keyboard_key_Pause", "", "", // 12
    "", "", "", "keyboard_key_`", "keyboard_key_1", "keyboard_key_2", // 18
    "keyboard_key_3", "keyboard_key_4", "keyboard_key_5", "keyboard_key_6", "keyboard_key_7", "keyboard_key_8", // 24
    "keyboard_key_9", "keyboard_key_0", "keyboard_key_-", "keyboard_key_=", "keyboard_key_BackSpace", "keyboard_key_Insert", // 30
    "keyboard_key_Home", "keyboard_key_Page Up", "keyboard_key_Num Lock", "keyboard_key_Num /", "keyboard_key_Num *", "keyboard_key_Num -", // 36
    "keyboard_key_Tab", "keyboard_key_Q", "keyboard_key_W", "keyboard_key_E", "keyboard_key_R", "keyboard_key_T", // 42
    "keyboard_key_Y", "keyboard_key_U", "keyboard_key_I", "keyboard_key_O", "keyboard_key_P", "keyboard_key_[", // 48
    "keyboard_key_]", "keyboard_key_xiegang", "keyboard_key_Delete", "keyboard_key_End", "keyboard_key_Page Down", "keyboard_key_Num 7", // 54
    "keyboard_key_Num 8", "keyboard_key_Num 9", "", "keyboard_key_Caplk", "keyboard_key_A", "keyboard_key_S", // 60
    "keyboard_key_D", "keyboard_key_F", "keyboard_key_G", "keyboard_key_H", "keyboard_key_J", "keyboard_key_K", // 66
    "keyboard_key_L", "keyboard_key_;", "keyboard_key_'", "keyboard_key_Enter", "keyboard_key_Num 4", "keyboard_key_Num 5", // 72
    "keyboard_key_Num 6", "", "", "", "", "", // 78
    "keyboard_key_LShift", "keyboard_key_Z", "keyboard_key_X", "keyboard_key_C", "keyboard_key_V", "keyboard_key_B", // 84
    "keyboard_key_N", "keyboard_key_M", "keyboard_key_<", "keyboard_key_.", "keyboard_key_/", "keyboard_key_RShift", // 90
    "keyboard_key_Up", "keyboard_key_Num 1", "keyboard_key_Num 2", "keyboard_key_Num 3", "", "", // 96
    "", "", "", "keyboard_key_LCtrl", "keyboard_key_LWin", "keyboard_key_LAlt", // 102
    "keyboard_key_Space", "keyboard_key_RAlt", "keyboard_key_RWin", "keyboard_key_App", "keyboard_key_RCtrl", "keyboard_key_Left", // 108
    "keyboard_key_Down", "keyboard_key_Right", "keyboard_key_Num 0", "keyboard_key_Decimal", "keyboard_key_Num Enter", "keyboard_key_Num +", // 114
    "", "", "", "", "", "", // 120
};
// clang-format on

// The key code table row of the key at an index.
constexpr std::optional<std::size_t> keyboardKeyRow(std::size_t keyIndex) {
    if (keyIndex >= kKeyboardKeyIndexCount || kKeyboardKeyNames[keyIndex].empty()) return std::nullopt;
    for (std::size_t r = 0; r < kFirstConsumerRow; ++r)
        if (kKeyCodeTable[r].name == kKeyboardKeyNames[keyIndex]) return r;
    return std::nullopt;
}

// Table entry i is shown on label "kb_key_<i>": the picture places its labels in key-index order. An
// entry past the 126 keys has no label.
constexpr std::optional<std::size_t> keyboardLabelOfEntry(std::size_t entry) {
    if (entry >= kKeyboardKeyIndexCount || kKeyboardKeyNames[entry].empty()) return std::nullopt;
    return entry;
}
inline std::string keyboardLabelName(std::size_t label) {
    return "kb_key_" + std::to_string(label);
}

// Every key sends itself: (0x20, modifier bits, usage) of its row; indexes without a key stay zero.
constexpr KeyAssignmentTable makeKeyboardDefaultKeyTable() {
    KeyAssignmentTable table;
    for (std::size_t i = 0; i < kKeyboardKeyIndexCount; ++i) {
        if (auto row = keyboardKeyRow(i))
            table.setEntry(i, KeyEntry{fn::kKeyboard, kKeyCodeTable[*row].p1, kKeyCodeTable[*row].p2});
    }
    return table;
}

inline constexpr KeyAssignmentTable kKeyboardDefaultKeyTable = makeKeyboardDefaultKeyTable();

} // namespace zq::settings
