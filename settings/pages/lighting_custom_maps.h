#pragma once
// The keyboard's custom colour maps as the host keeps them (AppState::keyboardCustomLighting, the bytes
// its lighting files carry behind the record): the selected map, and the colour of a key in a map. A map
// is kept by light-frame slot, so a key is painted at its slot and a key without an LED has no colour.
#include "device/app_state.h"
#include "settings/colour.h"
#include "settings/key_led_map.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace zq::settings::pages {

using CustomLighting = std::array<std::uint8_t, device::kKeyboardCustomLightingBytes>;

// Only the low byte of the stored word selects; a selection past the last map reads as map 0, as the
// keyboard effects read it.
inline std::size_t selectedCustomMap(const CustomLighting& custom) {
    return custom[0] < device::kCustomMaps ? custom[0] : 0;
}
inline void selectCustomMap(CustomLighting& custom, std::size_t map) {
    custom[0] = static_cast<std::uint8_t>(map < device::kCustomMaps ? map : 0);
    custom[1] = custom[2] = custom[3] = 0;
}

inline std::optional<std::size_t> customSlotOffset(std::size_t map, std::size_t key) {
    if (map >= device::kCustomMaps || key >= kKeyLedKeyCount || kKeyLedMap[key] == kNoKeyLed)
        return std::nullopt;
    return device::kCustomMapSelectionBytes + map * device::kCustomMapBytes +
           3 * std::size_t{kKeyLedMap[key]};
}

inline std::optional<Rgb> customKeyColour(const CustomLighting& custom, std::size_t map, std::size_t key) {
    const auto at = customSlotOffset(map, key);
    if (!at) return std::nullopt;
    return readRgb(custom, *at);
}

// False (and nothing written) for a key without an LED.
inline bool paintCustomKey(CustomLighting& custom, std::size_t map, std::size_t key, Rgb colour) {
    const auto at = customSlotOffset(map, key);
    if (!at) return false;
    writeRgb(custom, *at, colour);
    return true;
}

// Every key of the map that has an LED.
inline void fillCustomMap(CustomLighting& custom, std::size_t map, Rgb colour) {
    for (std::size_t key = 0; key < kKeyLedKeyCount; ++key) paintCustomKey(custom, map, key, colour);
}

} // namespace zq::settings::pages
