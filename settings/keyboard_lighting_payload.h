#pragma once
// The keyboard's lighting state as stored in its lighting-profile file (and behind the key table in its
// device-profile file): 1958 bytes.
//
//   0..63     KeyboardSettingsRecord
//   64..67    LE32, low byte = the selected custom colour map
//   68..1957  five custom colour maps of 126 keys x (red, green, blue)
#include "settings/byte_order.h"
#include "settings/colour.h"
#include "settings/compact_settings.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace zq::settings {

inline constexpr std::size_t kKeyboardKeyCount = 126;
inline constexpr std::size_t kCustomMapCount = 5;
inline constexpr std::size_t kCustomMapSize = kKeyboardKeyCount * 3;                   // 378
inline constexpr std::size_t kCustomColourMapsSize = kCustomMapCount * kCustomMapSize; // 1890
inline constexpr std::size_t kKeyboardLightingPayloadSize = 1958;

namespace kb_lighting_offset {
inline constexpr std::size_t kRecord = 0;
inline constexpr std::size_t kCustomMapSelection = 64; // LE32
inline constexpr std::size_t kCustomMaps = 68;
} // namespace kb_lighting_offset

static_assert(kb_lighting_offset::kCustomMaps + kCustomColourMapsSize == kKeyboardLightingPayloadSize);

struct KeyboardLightingPayload {
    std::array<std::uint8_t, kKeyboardLightingPayloadSize> bytes{};

    constexpr KeyboardSettingsRecord record() const {
        KeyboardSettingsRecord r;
        std::copy_n(bytes.begin() + kb_lighting_offset::kRecord, kCompactRecordSize, r.bytes.begin());
        return r;
    }
    constexpr void setRecord(const KeyboardSettingsRecord& r) {
        std::copy(r.bytes.begin(), r.bytes.end(), bytes.begin() + kb_lighting_offset::kRecord);
    }

    // Only the low byte of the stored word selects a map; a value past the last map reads as map 0.
    constexpr std::uint32_t customMapWord() const {
        return readLe32(bytes, kb_lighting_offset::kCustomMapSelection);
    }
    constexpr std::size_t selectedCustomMap() const {
        const std::size_t map = customMapWord() & 0xFF;
        return map < kCustomMapCount ? map : 0;
    }
    constexpr void setSelectedCustomMap(std::uint8_t map) {
        writeLe32(bytes, kb_lighting_offset::kCustomMapSelection, map);
    }

    // Keys and maps outside the store read black and are not written.
    constexpr Rgb customColour(std::size_t map, std::size_t key) const {
        if (map >= kCustomMapCount || key >= kKeyboardKeyCount) return {};
        return readRgb(bytes, customColourOffset(map, key));
    }
    constexpr void setCustomColour(std::size_t map, std::size_t key, Rgb c) {
        if (map >= kCustomMapCount || key >= kKeyboardKeyCount) return;
        writeRgb(bytes, customColourOffset(map, key), c);
    }
    static constexpr std::size_t customColourOffset(std::size_t map, std::size_t key) {
        return kb_lighting_offset::kCustomMaps + map * kCustomMapSize + key * 3;
    }

    friend constexpr bool operator==(const KeyboardLightingPayload&,
                                     const KeyboardLightingPayload&) = default;
};

} // namespace zq::settings
