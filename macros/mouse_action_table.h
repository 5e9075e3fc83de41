#pragma once
// The mouse actions a macro can hold, in the order of the editor's mouse-action combo. Rows 0-9 are
// button presses and releases and carry the window message the recorder and the insert buttons map
// from; rows 10-13 are the four pointer moves, whose `code` is the distance.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "macros/macro_action.h"

namespace zq::macros {

struct MouseActionRow {
    std::uint32_t windowMessage; // 0 for the moves, which no message produces
    std::string_view nameId;
    std::uint8_t type;
    std::uint8_t code; // button bit; 0 for the moves (the distance goes there)
};

// Window messages of the mouse buttons.
inline constexpr std::uint32_t kMsgLeftDown = 0x201;
inline constexpr std::uint32_t kMsgLeftUp = 0x202;
inline constexpr std::uint32_t kMsgRightDown = 0x204;
inline constexpr std::uint32_t kMsgRightUp = 0x205;
inline constexpr std::uint32_t kMsgMiddleDown = 0x207;
inline constexpr std::uint32_t kMsgMiddleUp = 0x208;
inline constexpr std::uint32_t kMsgExtraDown = 0x20B;
inline constexpr std::uint32_t kMsgExtraUp = 0x20C;

inline constexpr std::size_t kMouseActionRows = 14;
inline constexpr std::size_t kFirstMoveRow = 10;
// The recorder only knows the left, right and middle buttons: rows 0-5.
inline constexpr std::size_t kRecordableMouseRows = 6;

inline constexpr std::array<MouseActionRow, kMouseActionRows> kMouseMacroActionTable{{
    {kMsgLeftDown, "mouse_key_left", 0x81, 0x01},
    {kMsgLeftUp, "mouse_key_left", 0x01, 0x01},
    {kMsgRightDown, "mouse_key_right", 0x81, 0x02},
    {kMsgRightUp, "mouse_key_right", 0x01, 0x02},
    {kMsgMiddleDown, "mouse_key_middle", 0x81, 0x04},
    {kMsgMiddleUp, "mouse_key_middle", 0x01, 0x04},
    {kMsgExtraDown, "mouse_key_forward", 0x81, 0x10},
    {kMsgExtraUp, "mouse_key_forward", 0x01, 0x10},
    {kMsgExtraDown, "mouse_key_back", 0x81, 0x08},
    {kMsgExtraUp, "mouse_key_back", 0x01, 0x08},
    {0, "mouse_move_to_left_text", 0x84, 0},
    {0, "mouse_move_to_right_text", 0x04, 0},
    {0, "mouse_move_to_up_text", 0x85, 0},
    {0, "mouse_move_to_down_text", 0x05, 0},
}};

// The action of table row `row` as the insert buttons make it: delay 50, type and name from the row,
// pressed = bit 7 of type, and for the moves `distance` as the code. Rows past the table give nullopt.
inline constexpr std::uint16_t kInsertedActionDelay = 50;
std::optional<MacroAction> mouseActionFromRow(std::size_t row, std::uint8_t distance = 0);

// The recorder's mapping: the first of rows 0-5 with this window message.
std::optional<std::size_t> recordableMouseRow(std::uint32_t windowMessage);

// The combo row that shows a mouse action in the editor: the first of rows 0-9 with equal type and code,
// else the move row of its kind and direction. Anything else (keyboard kinds, a button bit the table
// does not know) gives nullopt.
std::optional<std::size_t> mouseTableRowOf(const MacroAction& action);

} // namespace zq::macros
