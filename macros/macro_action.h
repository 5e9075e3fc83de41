#pragma once
// One macro action and its one-line text form "delayLow,delayHigh,type,code,pressed,nameId".
//
// The line is what the action list keeps as a row's user data and what a macro file stores under
// MACROACTION i. Only the first four bytes travel to the device; `pressed` and `nameId` serve the
// editor and the row display.
#include <cstdint>
#include <string>
#include <string_view>

namespace zq::macros {

// Bits 0-6 of `type`.
enum class ActionKind : std::uint8_t {
    MouseButton = 1,
    MoveX = 4,
    MoveY = 5,
    ModifierKey = 9,
    Key = 10,
};

// Bit 7 of `type`: a press, or the negative direction of a move (left, up).
inline constexpr std::uint8_t kPressBit = 0x80;
inline constexpr std::uint8_t kKindMask = 0x7F;

inline constexpr std::uint16_t kMaxDelay = 65535;
inline constexpr unsigned kMaxDistance = 255;

struct MacroAction {
    std::uint8_t delayLow = 0;
    std::uint8_t delayHigh = 0;
    std::uint8_t type = 0;
    std::uint8_t code = 0;
    std::uint16_t pressed = 0;
    std::string nameId;

    // The pause after this action, in milliseconds.
    constexpr std::uint16_t delay() const { return static_cast<std::uint16_t>(delayLow | (delayHigh << 8)); }
    constexpr void setDelay(std::uint16_t ms) {
        delayLow = static_cast<std::uint8_t>(ms & 0xFF);
        delayHigh = static_cast<std::uint8_t>(ms >> 8);
    }
    constexpr std::uint8_t kindBits() const { return type & kKindMask; }
    constexpr bool hasKind(ActionKind k) const { return kindBits() == static_cast<std::uint8_t>(k); }
    constexpr bool pressBit() const { return (type & kPressBit) != 0; }
    // Moves carry a distance in `code`; every other kind a button bit, modifier bit or key usage.
    constexpr bool isMove() const { return hasKind(ActionKind::MoveX) || hasKind(ActionKind::MoveY); }

    bool operator==(const MacroAction&) const = default;
};

// Reads a decimal number the way every numeric field of the files is read: leading blanks and one sign
// allowed, reading stops at the first non-digit, no digits give 0, and values beyond the range of a
// 32-bit int stick at its ends.
std::int32_t parseDecimal(std::string_view text);

// Parses an action line from its right end: the text after the last comma is the name id, then pressed,
// code, type and delayHigh, each cut off at the last remaining comma; what stands before the first of
// those commas is delayLow. Numbers are truncated to their field's width (300 → 44 for a byte).
// A line with fewer than six fields is taken as cut short at the right: the fields that are there are
// read from the left and the missing ones are 0, with an empty name.
MacroAction parseActionLine(std::string_view line);

// "%d,%d,%d,%d,%d,%s".
std::string formatActionLine(const MacroAction& action);

} // namespace zq::macros
