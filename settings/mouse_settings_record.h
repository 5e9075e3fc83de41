#pragma once
// The mouse's settings: the 46-byte block that goes to the mouse, and the 64-byte record that holds it in
// files and in the per-slot cache, with the two host settings (pointer speed, wheel lines) behind it.
//
//   0 slot | 1 light_mode | 2 brightness | 3 light_speed | 4 direction | 5 seven_colour | 6..8 light rgb
//   9 effect_state | 10..13 reserved | 14 report_rate | 15..18 dpi code levels 1-4 | 19 dpi_level
//   20 dpi code level 5 | 21..22 reserved | 23..37 dpi rgb x5 | 38..43 reserved | 44..45 tail word (LE)
//   record only: 46 pointer_speed | 47 wheel_lines | 48..63 record tail
#include "settings/byte_order.h"
#include "settings/colour.h"
#include "settings/lighting_settings.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace zq::settings {

inline constexpr std::size_t kMouseBlockSize = 46;
inline constexpr std::size_t kMouseRecordSize = 64;
inline constexpr std::size_t kDpiLevelCount = 5;
// The push sends the block followed by zeros, one full frame payload.
inline constexpr std::size_t kSettingsPushSize = 56;

namespace mouse_offset {
inline constexpr std::size_t kSlot = 0;
inline constexpr std::size_t kLightMode = 1;
inline constexpr std::size_t kBrightness = 2;
inline constexpr std::size_t kLightSpeed = 3;
inline constexpr std::size_t kDirection = 4;
inline constexpr std::size_t kSevenColour = 5;
inline constexpr std::size_t kLightRgb = 6;
inline constexpr std::size_t kEffectState = 9;
inline constexpr std::size_t kReservedA = 10; // 4 bytes
inline constexpr std::size_t kReportRate = 14;
inline constexpr std::size_t kDpiCodes1To4 = 15; // 4 bytes
inline constexpr std::size_t kDpiLevel = 19;
inline constexpr std::size_t kDpiCode5 = 20;
inline constexpr std::size_t kReservedB = 21; // 2 bytes
inline constexpr std::size_t kDpiRgb = 23;    // 5 x 3 bytes
inline constexpr std::size_t kReservedC = 38; // 6 bytes
inline constexpr std::size_t kTailWord = 44;  // LE16
inline constexpr std::size_t kPointerSpeed = 46;
inline constexpr std::size_t kWheelLines = 47;
inline constexpr std::size_t kRecordTail = 48; // 16 bytes
} // namespace mouse_offset

// Byte offset of a DPI level's code (level 0..4 is level 1..5 on the page): levels 1-4 sit at 15-18, the
// current level at 19, level 5 at 20.
constexpr std::size_t dpiCodeOffset(std::size_t level) {
    return level < 4 ? mouse_offset::kDpiCodes1To4 + level : mouse_offset::kDpiCode5;
}
constexpr std::size_t dpiColourOffset(std::size_t level) {
    return mouse_offset::kDpiRgb + 3 * level;
}

// The fields the block and the record share. Levels outside 0..4 are taken as level 5, so a stray index
// never reaches the reserved bytes.
template <std::size_t N> struct MouseSettingsFields {
    static_assert(N >= kMouseBlockSize);
    std::array<std::uint8_t, N> bytes{};

    constexpr std::uint8_t slot() const { return bytes[mouse_offset::kSlot]; }
    constexpr void setSlot(std::uint8_t v) { bytes[mouse_offset::kSlot] = v; }
    constexpr LightingSettings lighting() const { return LightingSettings::fromBlock(bytes); }
    constexpr void setLighting(const LightingSettings& s) { s.writeToBlock(bytes); }
    constexpr std::uint8_t lightMode() const { return bytes[mouse_offset::kLightMode]; }
    constexpr void setLightMode(std::uint8_t v) { bytes[mouse_offset::kLightMode] = v; }
    constexpr std::uint8_t brightness() const { return bytes[mouse_offset::kBrightness]; }
    constexpr void setBrightness(std::uint8_t v) { bytes[mouse_offset::kBrightness] = v; }
    constexpr std::uint8_t lightSpeed() const { return bytes[mouse_offset::kLightSpeed]; }
    constexpr void setLightSpeed(std::uint8_t v) { bytes[mouse_offset::kLightSpeed] = v; }
    constexpr std::uint8_t direction() const { return bytes[mouse_offset::kDirection]; }
    constexpr void setDirection(std::uint8_t v) { bytes[mouse_offset::kDirection] = v; }
    constexpr bool sevenColour() const { return bytes[mouse_offset::kSevenColour] != 0; }
    constexpr void setSevenColour(bool on) { bytes[mouse_offset::kSevenColour] = on ? 1 : 0; }
    constexpr Rgb lightColour() const { return readRgb(bytes, mouse_offset::kLightRgb); }
    constexpr void setLightColour(Rgb c) { writeRgb(bytes, mouse_offset::kLightRgb, c); }
    constexpr std::uint8_t effectState() const { return bytes[mouse_offset::kEffectState]; }
    constexpr void setEffectState(std::uint8_t v) { bytes[mouse_offset::kEffectState] = v; }
    constexpr std::uint8_t reportRate() const { return bytes[mouse_offset::kReportRate]; }
    constexpr void setReportRate(std::uint8_t v) { bytes[mouse_offset::kReportRate] = v; }
    constexpr std::uint8_t dpiCode(std::size_t level) const {
        return bytes[dpiCodeOffset(std::min<std::size_t>(level, 4))];
    }
    constexpr void setDpiCode(std::size_t level, std::uint8_t code) {
        bytes[dpiCodeOffset(std::min<std::size_t>(level, 4))] = code;
    }
    constexpr std::uint8_t dpiLevel() const { return bytes[mouse_offset::kDpiLevel]; }
    constexpr void setDpiLevel(std::uint8_t v) { bytes[mouse_offset::kDpiLevel] = v; }
    constexpr Rgb dpiColour(std::size_t level) const {
        return readRgb(bytes, dpiColourOffset(std::min<std::size_t>(level, 4)));
    }
    constexpr void setDpiColour(std::size_t level, Rgb c) {
        writeRgb(bytes, dpiColourOffset(std::min<std::size_t>(level, 4)), c);
    }
    constexpr std::uint16_t tailWord() const { return readLe16(bytes, mouse_offset::kTailWord); }
    constexpr void setTailWord(std::uint16_t v) { writeLe16(bytes, mouse_offset::kTailWord, v); }

    friend constexpr bool operator==(const MouseSettingsFields&, const MouseSettingsFields&) = default;
};

// The live block: what every control of the mouse page reads and writes, and what the mouse receives.
struct MouseSettingsBlock : MouseSettingsFields<kMouseBlockSize> {};

// The stored record: the block plus the host settings and a tail nobody sets.
struct MouseSettingsRecord : MouseSettingsFields<kMouseRecordSize> {
    constexpr std::uint8_t pointerSpeed() const { return bytes[mouse_offset::kPointerSpeed]; }
    constexpr void setPointerSpeed(std::uint8_t v) { bytes[mouse_offset::kPointerSpeed] = v; }
    constexpr std::uint8_t wheelLines() const { return bytes[mouse_offset::kWheelLines]; }
    constexpr void setWheelLines(std::uint8_t v) { bytes[mouse_offset::kWheelLines] = v; }

    constexpr MouseSettingsBlock block() const {
        MouseSettingsBlock b;
        std::copy_n(bytes.begin(), kMouseBlockSize, b.bytes.begin());
        return b;
    }
    // Bytes 46-63 (host settings and tail) are left as they are.
    constexpr void setBlock(const MouseSettingsBlock& b) {
        std::copy(b.bytes.begin(), b.bytes.end(), bytes.begin());
    }
};

// The payload of the periodic push: the block followed by zeros.
constexpr std::array<std::uint8_t, kSettingsPushSize> mousePushPayload(const MouseSettingsBlock& block) {
    std::array<std::uint8_t, kSettingsPushSize> payload{};
    std::copy(block.bytes.begin(), block.bytes.end(), payload.begin());
    return payload;
}

// The rank label highlighted for a dpi_level: 0-4 are levels 1-5, 5 the layout's sixth pair, anything
// above that highlights level 1.
constexpr int highlightedDpiRank(std::uint8_t dpiLevel) {
    return dpiLevel <= 5 ? dpiLevel : 0;
}

} // namespace zq::settings
