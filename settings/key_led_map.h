#pragma once
// Which light-frame slot each keyboard key lights: the keyboard's custom colour maps are kept by slot, so
// the lighting page paints a key at its slot and the keyboard effects light it from there.
#include <array>
#include <cstddef>
#include <cstdint>

namespace zq::settings {

inline constexpr std::size_t kKeyLedKeyCount = 126;
// A key without an LED (and an empty place in the keyboard's key columns).
inline constexpr std::uint8_t kNoKeyLed = 126;

// clang-format off
inline constexpr std::array<std::uint8_t, kKeyLedKeyCount> kKeyLedMap{
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 126, 126, 126, 126,
    126, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39,
    40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59,
    60, 61, 126, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 76, 80, 81, 82, 126,
    126, 126, 126, 126, 84, 86, 87, 88, 89, 90, 91, 92, 93, 94, 95, 97, 99, 101, 102, 103,
    126, 126, 126, 126, 126, 105, 106, 107, 108, 109, 110, 111, 113, 119, 120, 121, 123, 124, 104, 62,
    126, 126, 126, 126, 126, 126,
};
// clang-format on

} // namespace zq::settings
