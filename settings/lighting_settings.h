#pragma once
// The eight lighting bytes that every device block carries at offsets 1-8, and the speed-slider rule
// the three lighting pages share.
#include "settings/colour.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zq::settings {

inline constexpr std::size_t kLightingSize = 8;
// Where the lighting bytes sit inside the mouse, pad and keyboard blocks.
inline constexpr std::size_t kLightingBlockOffset = 1;

namespace lighting_offset {
inline constexpr std::size_t kMode = 0;
inline constexpr std::size_t kBrightness = 1;
inline constexpr std::size_t kSpeed = 2;
inline constexpr std::size_t kDirection = 3;
inline constexpr std::size_t kSevenColour = 4;
inline constexpr std::size_t kRed = 5;
inline constexpr std::size_t kGreen = 6;
inline constexpr std::size_t kBlue = 7;
} // namespace lighting_offset

inline constexpr std::uint8_t kMaxBrightness = 4; // mouse and pad slider range 0..4
inline constexpr std::uint8_t kMaxLightSpeedSlider = 4;

struct LightingSettings {
    std::array<std::uint8_t, kLightingSize> bytes{};

    constexpr std::uint8_t mode() const { return bytes[lighting_offset::kMode]; }
    constexpr void setMode(std::uint8_t v) { bytes[lighting_offset::kMode] = v; }
    constexpr std::uint8_t brightness() const { return bytes[lighting_offset::kBrightness]; }
    constexpr void setBrightness(std::uint8_t v) { bytes[lighting_offset::kBrightness] = v; }
    constexpr std::uint8_t speed() const { return bytes[lighting_offset::kSpeed]; }
    constexpr void setSpeed(std::uint8_t v) { bytes[lighting_offset::kSpeed] = v; }
    constexpr std::uint8_t direction() const { return bytes[lighting_offset::kDirection]; }
    constexpr void setDirection(std::uint8_t v) { bytes[lighting_offset::kDirection] = v; }
    constexpr bool sevenColour() const { return bytes[lighting_offset::kSevenColour] != 0; }
    constexpr void setSevenColour(bool on) { bytes[lighting_offset::kSevenColour] = on ? 1 : 0; }
    constexpr Rgb colour() const { return readRgb(bytes, lighting_offset::kRed); }
    constexpr void setColour(Rgb c) { writeRgb(bytes, lighting_offset::kRed, c); }

    // The lighting of a device block (bytes 1-8).
    static constexpr LightingSettings fromBlock(std::span<const std::uint8_t> block) {
        LightingSettings s;
        for (std::size_t i = 0; i < kLightingSize; ++i) s.bytes[i] = block[kLightingBlockOffset + i];
        return s;
    }
    constexpr void writeToBlock(std::span<std::uint8_t> block) const {
        for (std::size_t i = 0; i < kLightingSize; ++i) block[kLightingBlockOffset + i] = bytes[i];
    }

    friend constexpr bool operator==(const LightingSettings&, const LightingSettings&) = default;
};

// The speed byte is 4 minus the speed slider's position, never below 0 (0 is the slider's right end).
constexpr std::uint8_t lightSpeedFromSlider(int position) {
    return static_cast<std::uint8_t>(position >= kMaxLightSpeedSlider ? 0 : kMaxLightSpeedSlider - position);
}
// Where the slider stands for a stored speed; a speed above 4 (never written by the pages) stands at the
// left end, like 4.
constexpr int sliderFromLightSpeed(std::uint8_t speed) {
    return speed >= kMaxLightSpeedSlider ? 0 : kMaxLightSpeedSlider - speed;
}

} // namespace zq::settings
