#pragma once
// Colours are stored as three bytes (red, green, blue) and shown on the pages as opaque ARGB words.
#include <cstddef>
#include <cstdint>
#include <span>

namespace zq::settings {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// 0xFF000000 | r << 16 | g << 8 | b
constexpr std::uint32_t toArgb(Rgb c) {
    return 0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.b};
}

// A colour chosen in a control is stored as its bits 23-16, 15-8 and 7-0; alpha is dropped.
constexpr Rgb fromArgb(std::uint32_t argb) {
    return Rgb{static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
               static_cast<std::uint8_t>(argb)};
}

constexpr Rgb readRgb(std::span<const std::uint8_t> bytes, std::size_t at) {
    return Rgb{bytes[at], bytes[at + 1], bytes[at + 2]};
}

constexpr void writeRgb(std::span<std::uint8_t> bytes, std::size_t at, Rgb c) {
    bytes[at] = c.r;
    bytes[at + 1] = c.g;
    bytes[at + 2] = c.b;
}

// A colour edit holds any number; only values above 255 are pulled back (negative ones read as 0).
constexpr std::uint8_t clampColourChannel(long value) {
    if (value > 255) return 255;
    if (value < 0) return 0;
    return static_cast<std::uint8_t>(value);
}

} // namespace zq::settings
