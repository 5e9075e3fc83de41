#pragma once
// The host's copy of each device and the links that reach them: one AppState, owned by the main window
// for the whole run and passed down by reference to every page and sequence. Plain data, UI thread only,
// except the links' own atomics (open, syncLighting, blockLength), which worker threads read and set.
#include "device/device_link.h"
#include "device/frame.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace zq::device {

// The three device classes, in the order of the settings push.
enum class DeviceClass : std::uint8_t { Keyboard, Mouse, Pad };
inline constexpr std::array<DeviceClass, 3> kDeviceClasses{DeviceClass::Keyboard, DeviceClass::Mouse,
                                                           DeviceClass::Pad};

inline constexpr std::size_t kRecordBytes = 64;
// Onboard slots 0..4 mirror the device's records; slot 5 (which the slot switches accept) gets a sixth
// entry of its own, so it never overlaps another device's table.
inline constexpr std::size_t kRecordSlots = 6;
inline constexpr std::size_t kKeyPageBytes = 512;
inline constexpr std::size_t kKeyPages = 5;
// The current record: the mouse's 46-byte block, the pad's and keyboard's 21-byte block.
inline constexpr std::size_t kMouseCurrentBytes = 46;
inline constexpr std::size_t kCompactCurrentBytes = 21;
inline constexpr std::size_t kLightingBytes = 8; // offsets 1..8 of every current record
// The keyboard's custom colour maps as its lighting-profile file carries them behind its record (bytes
// 64..1957 of that file's payload): a little-endian word whose low byte selects the map, then five maps
// of 126 LED slots x (red, green, blue).
inline constexpr std::size_t kCustomMapSelectionBytes = 4;
inline constexpr std::size_t kCustomMapBytes = 126 * 3;
inline constexpr std::size_t kCustomMaps = 5;
inline constexpr std::size_t kKeyboardCustomLightingBytes =
    kCustomMapSelectionBytes + kCustomMaps * kCustomMapBytes;
static_assert(kKeyboardCustomLightingBytes == 1894);

// What the lighting engine must take again after the UI thread changed it (see AppState::lightingChanged).
enum class LightingChange : std::uint8_t {
    Settings,    // the device's lighting bytes (offsets 1..8 of its current record)
    EffectReset, // a light mode was chosen or the direction changed: the device's effect starts over
    CustomMaps,  // the keyboard's custom colour maps or the map selection
    Shared,      // same mode from this device: sharedLighting and the links' same-mode flags
};

constexpr std::size_t currentBytes(DeviceClass device) {
    return device == DeviceClass::Mouse ? kMouseCurrentBytes : kCompactCurrentBytes;
}
constexpr const char* deviceKey(DeviceClass device) {
    switch (device) {
    case DeviceClass::Keyboard:
        return "keyboard";
    case DeviceClass::Mouse:
        return "mouse";
    case DeviceClass::Pad:
        return "pad";
    }
    return "";
}

// The collections the program talks to: the vendor collections carry the command frames, the consumer
// collections the devices' own reports. All on vendor 0x0C45.
inline constexpr std::uint16_t kVendorId = 0x0C45;
inline constexpr std::uint16_t kMouseProductId = 0x7684;
inline constexpr std::uint16_t kPadProductId = 0x5004;
inline constexpr std::uint16_t kKeyboardProductId = 0x7122;
inline constexpr std::uint16_t kVendorUsagePage = 0xFF1C;
inline constexpr std::uint16_t kVendorUsage = 0x0092;
inline constexpr std::uint16_t kConsumerUsagePage = 0x000C;
inline constexpr std::uint16_t kConsumerUsage = 0x0001;

constexpr std::uint16_t productId(DeviceClass device) {
    return device == DeviceClass::Keyboard ? kKeyboardProductId
           : device == DeviceClass::Mouse  ? kMouseProductId
                                           : kPadProductId;
}
// The identity of a device's link (its vendor collection).
constexpr LinkIdentity vendorCollection(DeviceClass device) {
    return {kVendorId, productId(device), kVendorUsagePage, kVendorUsage};
}
// The collection a device-report thread listens on (the mouse's and the keyboard's).
constexpr LinkIdentity consumerCollection(DeviceClass device) {
    return {kVendorId, productId(device), kConsumerUsagePage, kConsumerUsage};
}

struct DeviceState {
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    std::array<std::array<std::uint8_t, kRecordBytes>, kRecordSlots> records{};
    // The working copy of the current slot's record; byte 0 is the slot. The mouse uses all 46 bytes,
    // the pad and the keyboard the first 21.
    std::array<std::uint8_t, kMouseCurrentBytes> current{};
    std::array<std::array<std::uint8_t, kKeyPageBytes>, kKeyPages> keyPages{};
    // Keyboard only: the whole key block as the last full read-back found it.
    std::array<std::uint8_t, kKeyPageBytes> wholeKeyBlock{};
    // The current record must be pushed; set by whoever changes it, cleared by the push.
    bool dirty = false;

    std::uint8_t slot() const { return current[0]; }
};

class AppState {
public:
    AppState(hid::RawNodeBackend& backend, platform::Clock& clock = platform::systemClock())
        : keyboardLink(backend, clock), mouseLink(backend, clock), padLink(backend, clock) {}
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    DeviceLink keyboardLink;
    DeviceLink mouseLink;
    DeviceLink padLink;

    DeviceState keyboard;
    DeviceState mouse;
    DeviceState pad;

    // The lighting bytes every device shows while synchronised lighting is on.
    std::array<std::uint8_t, kLightingBytes> sharedLighting{};
    // The keyboard's custom colour maps and the selected map (host only: the keyboard gets them as light
    // frames). Stored in the keyboard's lighting files; the lighting pages edit them.
    std::array<std::uint8_t, kKeyboardCustomLightingBytes> keyboardCustomLighting{};

    DeviceLink& link(DeviceClass device) {
        return device == DeviceClass::Keyboard ? keyboardLink
               : device == DeviceClass::Mouse  ? mouseLink
                                               : padLink;
    }
    DeviceState& state(DeviceClass device) {
        return device == DeviceClass::Keyboard ? keyboard : device == DeviceClass::Mouse ? mouse : pad;
    }
    const DeviceLink& link(DeviceClass device) const {
        return device == DeviceClass::Keyboard ? keyboardLink
               : device == DeviceClass::Mouse  ? mouseLink
                                               : padLink;
    }
    const DeviceState& state(DeviceClass device) const {
        return device == DeviceClass::Keyboard ? keyboard : device == DeviceClass::Mouse ? mouse : pad;
    }
    bool anyOpen() const { return keyboardLink.open || mouseLink.open || padLink.open; }
    // The identities the main window gives the links while it initialises.
    void assignIdentities() {
        for (DeviceClass c : kDeviceClasses) link(c).identity = vendorCollection(c);
    }

    // Every change of a current record goes through here: the flag for the push, and the hook that
    // arms the push (the push waits on nothing while no flag is set).
    void markDirty(DeviceClass device) {
        state(device).dirty = true;
        if (onDirty) onDirty();
    }
    std::function<void()> onDirty;

    // The lighting engine reads copies, never these records: whoever changes a device's lighting bytes,
    // its effect state, the custom maps or the shared lighting says so here and the engine takes them
    // again (on the UI thread, so the UI thread stays the only writer of the state).
    void lightingChanged(DeviceClass device, LightingChange what = LightingChange::Settings) {
        if (onLightingChange) onLightingChange(device, what);
    }
    std::function<void(DeviceClass, LightingChange)> onLightingChange;
};

} // namespace zq::device
