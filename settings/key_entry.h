#pragma once
// A button's function as three bytes (function type and two parameters), and the 512-byte table that
// holds one entry per button at byte 3 x i. Bytes after the last entry are carried unchanged.
#include "settings/function_types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zq::settings {

struct KeyEntry {
    std::uint8_t type = 0;
    std::uint8_t p1 = 0;
    std::uint8_t p2 = 0;
    friend constexpr bool operator==(const KeyEntry&, const KeyEntry&) = default;
};

inline constexpr std::size_t kKeyEntrySize = 3;
inline constexpr std::size_t kKeyTableSize = 512;
inline constexpr std::size_t kMouseButtonCount = 9;
// The most entries a table can hold (170 x 3 = 510).
inline constexpr std::size_t kMaxKeyEntries = kKeyTableSize / kKeyEntrySize;

// Mouse buttons by index ("ms_key_" followed by the index selects one on the picture).
namespace button {
inline constexpr std::size_t kLeft = 0;
inline constexpr std::size_t kMiddle = 1;
inline constexpr std::size_t kRight = 2;
inline constexpr std::size_t kForwardRight = 3;
inline constexpr std::size_t kBackRight = 4;
inline constexpr std::size_t kDpiFirst = 5;
inline constexpr std::size_t kDpiSecond = 6;
inline constexpr std::size_t kForwardLeft = 7;
inline constexpr std::size_t kBackLeft = 8;
} // namespace button

struct KeyAssignmentTable {
    std::array<std::uint8_t, kKeyTableSize> bytes{};

    // Entries past the table's end read as zero and are not written.
    constexpr KeyEntry entry(std::size_t i) const {
        if (i >= kMaxKeyEntries) return {};
        return KeyEntry{bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]};
    }
    constexpr void setEntry(std::size_t i, KeyEntry e) {
        if (i >= kMaxKeyEntries) return;
        bytes[3 * i] = e.type;
        bytes[3 * i + 1] = e.p1;
        bytes[3 * i + 2] = e.p2;
    }
    friend constexpr bool operator==(const KeyAssignmentTable&, const KeyAssignmentTable&) = default;
};

// Mouse-button bits of a 0x10 entry.
namespace mouse_bit {
inline constexpr std::uint8_t kNone = 0x00;
inline constexpr std::uint8_t kLeft = 0x01;
inline constexpr std::uint8_t kRight = 0x02;
inline constexpr std::uint8_t kMiddle = 0x04;
inline constexpr std::uint8_t kBack = 0x08;
inline constexpr std::uint8_t kForward = 0x10;
} // namespace mouse_bit

inline constexpr KeyEntry kLeftClick{fn::kMouseButton, mouse_bit::kLeft, 0};

// True when button i holds the left click and no other of the first `buttons` entries does: the page
// refuses to open the editor for it, so the mouse always keeps one left click.
constexpr bool isOnlyLeftClick(const KeyAssignmentTable& table, std::size_t i,
                               std::size_t buttons = kMouseButtonCount) {
    if (table.entry(i) != kLeftClick) return false;
    for (std::size_t k = 0; k < buttons; ++k)
        if (k != i && table.entry(k) == kLeftClick) return false;
    return true;
}

// ---- pointer moves -------------------------------------------------------------------------------------
// Both move classes keep two nibbles in p1 and a distance 0..127 in p2. The first direction stores the
// distance; the second stores it with bit 7 set, but the two classes do it differently: horizontal moves
// store d - 128 (sign bit plus distance), vertical moves 256 - d (two's complement).

inline constexpr int kMoveDistanceMax = 127;
inline constexpr int kMoveNibbleMax = 15;

struct MoveParams {
    bool secondDirection = false;
    int distance = 0; // 0..127
    int highNibble = 0;
    int lowNibble = 0;
    friend constexpr bool operator==(const MoveParams&, const MoveParams&) = default;
};

namespace detail {
constexpr int clampTo(int v, int hi) {
    return v < 0 ? 0 : (v > hi ? hi : v);
}
constexpr std::uint8_t nibbles(const MoveParams& m) {
    return static_cast<std::uint8_t>((clampTo(m.highNibble, kMoveNibbleMax) << 4) |
                                     clampTo(m.lowNibble, kMoveNibbleMax));
}
} // namespace detail

constexpr KeyEntry encodeHorizontalMove(const MoveParams& m) {
    const int d = detail::clampTo(m.distance, kMoveDistanceMax);
    return KeyEntry{fn::kHorizontalMove, detail::nibbles(m),
                    static_cast<std::uint8_t>(m.secondDirection ? (d - 128) & 0xFF : d)};
}

constexpr KeyEntry encodeVerticalMove(const MoveParams& m) {
    const int d = detail::clampTo(m.distance, kMoveDistanceMax);
    return KeyEntry{fn::kVerticalMove, detail::nibbles(m),
                    static_cast<std::uint8_t>(m.secondDirection ? (256 - d) & 0xFF : d)};
}

constexpr MoveParams decodeHorizontalMove(KeyEntry e) {
    const bool second = (e.p2 & 0x80) != 0;
    return MoveParams{second, second ? (e.p2 & 0x7F) : e.p2, e.p1 >> 4, e.p1 & 0x0F};
}

constexpr MoveParams decodeVerticalMove(KeyEntry e) {
    const bool second = (e.p2 & 0x80) != 0;
    return MoveParams{second, second ? 128 - (e.p2 & 0x7F) : e.p2, e.p1 >> 4, e.p1 & 0x0F};
}

} // namespace zq::settings
