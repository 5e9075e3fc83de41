#pragma once
// What a profile file of each category holds of the live device state, both ways: the payload a save
// writes, assembled from the state, and a loaded payload taken into the state.
//
//   mouse device      key table (512) + mouse record (64)
//   mouse lighting    mouse record (64)
//   mouse / keyboard keys   key table (512)
//   keyboard device   key table (512) + keyboard lighting (1958)
//   keyboard lighting keyboard record (64) + custom colour maps with their selection (1894)
//   pad lighting      pad record (64)
//
// The mouse record's bytes 46 and 47 are the desktop's pointer speed and wheel lines; their live copy is
// byte 46 and 47 of the mouse's slot-0 record, which the mouse page keeps up to date.
#include "device/app_state.h"
#include "profiles/profile_category.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zq::profiles {

inline constexpr std::size_t kKeyboardCustomLightingOffset = 64; // in the keyboard lighting payload
inline constexpr std::size_t kKeyboardCustomLightingSize =
    kKeyboardLightingPayloadSize - kKeyboardCustomLightingOffset; // 1894
inline constexpr std::size_t kHostPointerSpeedOffset = 46;        // in the mouse record
inline constexpr std::size_t kHostWheelLinesOffset = 47;

// The desktop's pointer speed and wheel lines as they are now; 0 is taken as 1.
struct HostMouseValues {
    int pointerSpeed = 10;
    int wheelLines = 3;
};

// The payload a save of the category writes. The mouse's block is copied into its slot-0 record first,
// as every save of a mouse file does.
std::vector<std::uint8_t> assemblePayload(ProfileCategory category, device::AppState& state);

// Takes a loaded payload (of the category's size; the lighting records may be shorter, and then fill only
// the head of the record) into the live state; a payload of another size changes nothing. The block of the
// pad and the keyboard keeps its live slot byte: a lighting profile never moves a device to another onboard
// slot. The mouse block takes the record's own bytes (its slot is set by the device-profile selection).
void applyPayload(ProfileCategory category, device::AppState& state, std::span<const std::uint8_t> payload,
                  HostMouseValues host);

// The keyboard's custom colour maps and their selection (bytes 64..1957 of its lighting payload), where
// the lighting engine reads them.
std::vector<std::uint8_t> keyboardCustomLighting(const device::AppState& state);
void setKeyboardCustomLighting(device::AppState& state, std::span<const std::uint8_t> bytes);

// The slot whose record the pad's or keyboard's block heads: its slot byte, or 0 past the record table.
std::size_t liveSlot(const device::DeviceState& state);

} // namespace zq::profiles
