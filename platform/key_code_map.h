#pragma once
// Linux key codes (evdev) and X keysyms to the Windows virtual-key codes our key tables and recorded
// macros are written in, with the extended-key flag a key carries there (the right-hand modifier and
// navigation block, the arrows, keypad Enter and keypad divide, the Windows and menu keys, the media
// keys). One table serves both lookups, so the evdev, X11 and in-window captures name a key alike.
//
// Keypad keys map to the keypad's own codes whatever Num Lock says: the device executes the keypad's
// key usage, which is what the user pointed at. Power, sleep and wake-up get the codes of our own that
// the key code table gives them (0x103-0x105).
#include <cstdint>
#include <optional>
#include <span>

namespace zq::platform {

struct VirtualKey {
    std::uint16_t code = 0;
    bool extended = false;
    bool operator==(const VirtualKey&) const = default;
};

struct KeyCodeMapping {
    std::uint16_t linuxCode;  // KEY_* of linux/input-event-codes.h
    std::uint32_t keysym;     // the X keysym of the key's first level (US layout)
    std::uint32_t altKeysym;  // the other level's keysym where it names the same key (A, KP_End), or 0
    std::uint16_t virtualKey; // Windows virtual-key code
    bool extended;            // the extended-key flag (bit 0 of the hook flags)
};

// Codes with a name of their own in our tables.
inline constexpr std::uint16_t kVkReturn = 0x0D;
inline constexpr std::uint16_t kVkCapsLock = 0x14;
inline constexpr std::uint16_t kVkNumLock = 0x90;
inline constexpr std::uint16_t kVkScrollLock = 0x91;
inline constexpr std::uint16_t kVkPower = 0x103;
inline constexpr std::uint16_t kVkSleep = 0x104;
inline constexpr std::uint16_t kVkWakeUp = 0x105;

std::span<const KeyCodeMapping> keyCodeMap();

std::optional<VirtualKey> virtualKeyForLinuxCode(unsigned code);
std::optional<VirtualKey> virtualKeyForKeysym(std::uint32_t keysym);
// What an X server on the evdev driver (every current one) numbers a Linux key: code + 8. Used where
// the keysym says nothing we know (a layout whose digit row types symbols).
std::optional<VirtualKey> virtualKeyForX11Keycode(unsigned keycode, std::uint32_t keysym);

} // namespace zq::platform
