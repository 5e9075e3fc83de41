#pragma once
// The colour and level tables every effect shares: the brightness curve, the 192-step colour wheel, the
// two breath curves and the attack-and-decay curve of the reactive keyboard modes.
#include "settings/colour.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zq::lighting {

using settings::Rgb;

inline constexpr std::size_t kBrightnessSteps = 5;
inline constexpr std::array<std::uint8_t, kBrightnessSteps> kBrightnessCurve{0, 97, 149, 201, 255};

inline constexpr std::size_t kWheelSize = 192;
inline constexpr std::size_t kWheelSegment = 32;

// The two ramps the wheel is built from: one rising to full, one falling to nothing.
inline constexpr std::array<std::uint8_t, kWheelSegment> kWheelRampUp{
    1,  3,  5,  7,   10,  14,  18,  22,  26,  32,  38,  44,  50,  57,  65,  73,
    81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
inline constexpr std::array<std::uint8_t, kWheelSegment> kWheelRampDown{
    248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124, 114, 104, 94, 85, 77,
    69,  61,  53,  47,  41,  35,  29,  24,  20,  16,  12,  8,   6,   4,  2,  0};

namespace detail {
constexpr std::array<Rgb, kWheelSize> buildWheel() {
    std::array<Rgb, kWheelSize> w{};
    for (std::size_t k = 0; k < kWheelSegment; ++k) {
        const std::uint8_t u = kWheelRampUp[k];
        const std::uint8_t d = kWheelRampDown[k];
        w[k] = {255, u, 0};
        w[32 + k] = {d, 255, 0};
        w[64 + k] = {0, 255, u};
        w[96 + k] = {0, d, 255};
        w[128 + k] = {u, 0, 255};
        w[160 + k] = {255, 0, d};
    }
    return w;
}

inline constexpr std::array<std::uint8_t, 48> kBreathRise{
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

constexpr std::array<std::uint8_t, 96> buildBreath96() {
    std::array<std::uint8_t, 96> b{};
    for (std::size_t i = 0; i < 48; ++i) {
        b[i] = kBreathRise[i];
        b[95 - i] = kBreathRise[i];
    }
    return b;
}

constexpr std::array<std::uint8_t, 128> buildBreath128() {
    constexpr std::array<std::uint8_t, 16> foot{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 18, 20};
    std::array<std::uint8_t, 128> b{};
    for (std::size_t i = 0; i < 16; ++i) b[i] = foot[i];
    for (std::size_t i = 0; i < 48; ++i) b[16 + i] = kBreathRise[i];
    for (std::size_t i = 0; i < 64; ++i) b[127 - i] = b[i];
    return b;
}

// A quick attack to full, then a linear fall of 7 per entry down to nothing.
inline constexpr std::size_t kFlashRise = 17;
inline constexpr std::size_t kFlashFall = 37; // 248, 241, ..., 3, then 0
constexpr std::array<std::uint8_t, kFlashRise + kFlashFall> buildFlashCurve() {
    constexpr std::array<std::uint8_t, kFlashRise> rise{0,  4,   8,   14,  22,  33,  45,  61, 77,
                                                        94, 114, 134, 158, 182, 206, 234, 255};
    std::array<std::uint8_t, kFlashRise + kFlashFall> f{};
    for (std::size_t i = 0; i < kFlashRise; ++i) f[i] = rise[i];
    for (std::size_t k = 1; k < kFlashFall; ++k)
        f[kFlashRise - 1 + k] = static_cast<std::uint8_t>(255 - 7 * k);
    f[kFlashRise + kFlashFall - 1] = 0;
    return f;
}
} // namespace detail

inline constexpr std::array<Rgb, kWheelSize> kColourWheel = detail::buildWheel();
inline constexpr std::array<std::uint8_t, 96> kBreath96 = detail::buildBreath96();
inline constexpr std::array<std::uint8_t, 128> kBreath128 = detail::buildBreath128();
inline constexpr auto kFlashCurve = detail::buildFlashCurve();
// Index of the curve's peak: where a flash that starts at full level enters the curve.
inline constexpr std::size_t kFlashPeak = detail::kFlashRise - 1;

} // namespace zq::lighting
