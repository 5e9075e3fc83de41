#pragma once
// The pad's and the keyboard's settings: a 21-byte block at the head of a 64-byte record.
//
//   0 slot | 1..8 lighting | 9 effect_state | 10..20 carried unchanged | record: 21..63 carried
#include "settings/lighting_settings.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace zq::settings {

inline constexpr std::size_t kCompactBlockSize = 21;
inline constexpr std::size_t kCompactRecordSize = 64;
inline constexpr std::size_t kCompactPushSize = 56;
// The pad and the keyboard keep five onboard records at k x 64.
inline constexpr std::size_t kCompactSlotCount = 5;

namespace compact_offset {
inline constexpr std::size_t kSlot = 0;
inline constexpr std::size_t kLighting = 1; // 8 bytes
inline constexpr std::size_t kEffectState = 9;
inline constexpr std::size_t kCarried = 10; // 11 bytes
} // namespace compact_offset

struct PadTag {};
struct KeyboardTag {};

// One layout, two device types, so a pad block cannot be handed where a keyboard block belongs.
template <std::size_t N, class Device> struct CompactSettings {
    static_assert(N >= kCompactBlockSize);
    std::array<std::uint8_t, N> bytes{};

    constexpr std::uint8_t slot() const { return bytes[compact_offset::kSlot]; }
    constexpr void setSlot(std::uint8_t v) { bytes[compact_offset::kSlot] = v; }
    constexpr LightingSettings lighting() const { return LightingSettings::fromBlock(bytes); }
    constexpr void setLighting(const LightingSettings& s) { s.writeToBlock(bytes); }
    constexpr std::uint8_t effectState() const { return bytes[compact_offset::kEffectState]; }
    constexpr void setEffectState(std::uint8_t v) { bytes[compact_offset::kEffectState] = v; }

    // The block at the head of a record.
    constexpr CompactSettings<kCompactBlockSize, Device> block() const {
        CompactSettings<kCompactBlockSize, Device> b;
        std::copy_n(bytes.begin(), kCompactBlockSize, b.bytes.begin());
        return b;
    }
    // Puts a block at the head of a record; the rest of the record is left as it is.
    constexpr void setBlock(const CompactSettings<kCompactBlockSize, Device>& b) {
        std::copy(b.bytes.begin(), b.bytes.end(), bytes.begin());
    }

    friend constexpr bool operator==(const CompactSettings&, const CompactSettings&) = default;
};

using PadSettingsBlock = CompactSettings<kCompactBlockSize, PadTag>;
using PadSettingsRecord = CompactSettings<kCompactRecordSize, PadTag>;
using KeyboardSettingsBlock = CompactSettings<kCompactBlockSize, KeyboardTag>;
using KeyboardSettingsRecord = CompactSettings<kCompactRecordSize, KeyboardTag>;

// The payload of the periodic push (at offset 0): the block followed by zeros.
template <class Device>
constexpr std::array<std::uint8_t, kCompactPushSize>
compactPushPayload(const CompactSettings<kCompactBlockSize, Device>& block) {
    std::array<std::uint8_t, kCompactPushSize> payload{};
    std::copy(block.bytes.begin(), block.bytes.end(), payload.begin());
    return payload;
}

} // namespace zq::settings
