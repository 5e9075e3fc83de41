#pragma once
// The keyboard's light layout: which frame slot each key lights, the keys column by column, one
// serpentine path over the keyboard, and the per-turn delays of the keyboard modes.
#include "settings/key_led_map.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zq::lighting {

inline constexpr std::size_t kKeyCount = 126;
// A key without an LED, or an empty place in a column.
inline constexpr std::uint8_t kNoKey = 126;

// The slot table lives with the settings: the custom colour maps the lighting page paints use it too.
using settings::kKeyLedMap;
static_assert(settings::kKeyLedKeyCount == kKeyCount && settings::kNoKeyLed == kNoKey);

// clang-format off
inline constexpr std::size_t kKeyColumnCount = 23;
inline constexpr std::size_t kKeyRowCount = 6;
inline constexpr std::array<std::array<std::uint8_t, kKeyRowCount>, kKeyColumnCount> kKeyColumns{{
    {126, 126, 126, 126, 126, 105}, {126, 21, 42, 63, 84, 106}, {0, 22, 43, 64, 85, 107},
    {1, 23, 44, 65, 86, 126},       {2, 24, 45, 66, 87, 126},   {3, 25, 46, 67, 88, 126},
    {4, 26, 47, 68, 89, 108},       {126, 27, 48, 69, 90, 126}, {5, 28, 49, 70, 91, 126},
    {6, 29, 50, 71, 92, 109},       {7, 30, 51, 72, 93, 126},   {8, 31, 52, 73, 94, 110},
    {9, 32, 53, 74, 126, 126},      {10, 33, 54, 126, 126, 111}, {11, 34, 55, 75, 95, 126},
    {12, 126, 126, 126, 126, 112},  {13, 35, 56, 126, 126, 113}, {14, 36, 57, 126, 96, 114},
    {15, 37, 58, 126, 126, 115},    {126, 38, 59, 76, 97, 116}, {126, 39, 60, 77, 98, 126},
    {126, 40, 61, 78, 99, 117},     {126, 41, 126, 119, 118, 126},
}};
// clang-format on

inline constexpr std::size_t kSnakeLength = 104;
namespace detail {
constexpr std::array<std::uint8_t, kSnakeLength> buildSnake() {
    std::array<std::uint8_t, kSnakeLength> s{};
    std::size_t n = 0;
    auto put = [&](int k) { s[n++] = static_cast<std::uint8_t>(k); };
    for (int k = 15; k >= 0; --k) put(k);
    for (int k : {21, 42, 63, 84}) put(k);
    for (int k = 105; k <= 119; ++k) put(k);
    for (int k = 41; k >= 22; --k) put(k);
    put(43);
    put(64);
    for (int k = 85; k <= 99; ++k) put(k);
    put(78);
    for (int k = 61; k >= 44; --k) put(k);
    for (int k = 65; k <= 77; ++k) put(k);
    return s;
}
} // namespace detail
inline constexpr auto kKeySnake = detail::buildSnake();

// Milliseconds per keyboard turn, indexed light_speed + 15 x light_mode. Speeds 1-4 are the same in every
// mode; speed 0 is quickest in the modes that move a little per turn. Past speed 4 (never stored by the
// page) the delay keeps growing by 8 ms a step.
inline constexpr std::size_t kKeyboardModeCount = 17;
inline constexpr std::size_t kKeySpeedColumns = 15;
namespace detail {
constexpr std::array<std::uint8_t, kKeySpeedColumns * kKeyboardModeCount> buildKeyDelay() {
    std::array<std::uint8_t, kKeySpeedColumns * kKeyboardModeCount> t{};
    constexpr std::array<std::uint8_t, 5> base{0, 13, 27, 37, 45};
    for (std::size_t mode = 0; mode < kKeyboardModeCount; ++mode) {
        for (std::size_t speed = 0; speed < kKeySpeedColumns; ++speed) {
            std::size_t ms = speed < 5 ? base[speed] : 45 + 8 * (speed - 4);
            if (speed == 0) ms = mode == 0 ? 2 : (mode == 4 || mode == 7 || mode == 12) ? 3 : 9;
            t[speed + kKeySpeedColumns * mode] = static_cast<std::uint8_t>(ms);
        }
    }
    return t;
}

// Column and row of every key in kKeyColumns, kNoKey for keys that sit in no column.
struct KeyPlace {
    std::uint8_t column = kNoKey;
    std::uint8_t row = kNoKey;
};
constexpr std::array<KeyPlace, kKeyCount> buildKeyPlaces() {
    std::array<KeyPlace, kKeyCount> p{};
    for (std::size_t c = 0; c < kKeyColumnCount; ++c)
        for (std::size_t r = 0; r < kKeyRowCount; ++r)
            if (kKeyColumns[c][r] != kNoKey)
                p[kKeyColumns[c][r]] = {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(r)};
    return p;
}
} // namespace detail
inline constexpr auto kKeyDelay = detail::buildKeyDelay();
inline constexpr auto kKeyPlaces = detail::buildKeyPlaces();

} // namespace zq::lighting
