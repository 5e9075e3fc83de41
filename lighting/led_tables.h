#pragma once
// How the mouse's and the pad's LEDs are grouped, the gradient colour sets of the mouse, and the pad's
// per-turn delays.
#include "settings/colour.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zq::lighting {

using settings::Rgb;

inline constexpr std::size_t kMouseLeds = 20;
inline constexpr std::size_t kPadLeds = 15;
inline constexpr std::size_t kLedGroupCount = 7;

// Three preview LEDs per group; group 2 names LED 9 twice, so 20 LEDs fill 21 places.
inline constexpr std::array<std::array<std::uint8_t, 3>, kLedGroupCount> kLedGroups{{
    {0, 7, 19},
    {1, 8, 18},
    {2, 9, 9},
    {3, 10, 14},
    {4, 11, 15},
    {5, 12, 16},
    {6, 13, 17},
}};

inline constexpr std::size_t kGradientSetCount = 3;
inline constexpr std::array<std::array<Rgb, kLedGroupCount>, kGradientSetCount> kGradientSets{{
    {{{255, 255, 0}, {200, 255, 0}, {170, 255, 0}, {140, 255, 0}, {110, 255, 0}, {80, 255, 0}, {70, 255, 0}}},
    {{{0, 255, 255}, {0, 200, 255}, {0, 170, 255}, {0, 140, 255}, {0, 110, 255}, {0, 80, 255}, {0, 70, 255}}},
    {{{245, 0, 255}, {245, 0, 200}, {245, 0, 170}, {245, 0, 140}, {245, 0, 110}, {245, 0, 80}, {245, 0, 70}}},
}};

// Pad LEDs by group, for the group wave; 0xFF ends a group. Group 3 is empty.
inline constexpr std::uint8_t kNoLed = 0xFF;
inline constexpr std::array<std::array<std::uint8_t, 5>, kLedGroupCount> kPadGroups{{
    {0, kNoLed, kNoLed, kNoLed, kNoLed},
    {14, 1, kNoLed, kNoLed, kNoLed},
    {13, 2, kNoLed, kNoLed, kNoLed},
    {kNoLed, kNoLed, kNoLed, kNoLed, kNoLed},
    {12, 3, kNoLed, kNoLed, kNoLed},
    {11, 4, 5, kNoLed, kNoLed},
    {6, 7, 8, 9, 10},
}};

// Milliseconds per pad turn, indexed light_speed + 15 x light_mode. The pages only store speeds 0-4; the
// rest of each row keeps the 4 ms step so a speed from a foreign file still reads a sensible delay.
inline constexpr std::size_t kSpeedColumns = 15;
inline constexpr std::size_t kPadModeCount = 10;
namespace detail {
constexpr std::array<std::uint8_t, kSpeedColumns * kPadModeCount> buildPadDelay() {
    std::array<std::uint8_t, kSpeedColumns * kPadModeCount> t{};
    for (std::size_t mode = 0; mode < kPadModeCount; ++mode) {
        for (std::size_t speed = 0; speed < kSpeedColumns; ++speed) {
            std::size_t ms = 9 + 4 * speed;
            if (mode == 9) ms = speed == 0 ? 0 : 5 + 4 * speed;
            t[speed + kSpeedColumns * mode] = static_cast<std::uint8_t>(ms);
        }
    }
    return t;
}
} // namespace detail
inline constexpr auto kPadDelay = detail::buildPadDelay();

} // namespace zq::lighting
