#pragma once
// The function types of a key entry; the key code table uses the same values as its key classes.
#include <cstdint>

namespace zq::settings::fn {

inline constexpr std::uint8_t kNone = 0x00; // shown like a keyboard key
inline constexpr std::uint8_t kMouseButton = 0x10;
inline constexpr std::uint8_t kHorizontalMove = 0x11;
inline constexpr std::uint8_t kVerticalMove = 0x12;
inline constexpr std::uint8_t kDpiKey = 0x13;
inline constexpr std::uint8_t kFireKey = 0x14;
inline constexpr std::uint8_t kWheel = 0x15; // the mouse event table's pointer/wheel class
inline constexpr std::uint8_t kKeyboard = 0x20;
inline constexpr std::uint8_t kConsumer = 0x30; // media and web keys
inline constexpr std::uint8_t kSystem = 0x40;
inline constexpr std::uint8_t kMacro = 0x70;
inline constexpr std::uint8_t kMacroRepeat = 0x71;
inline constexpr std::uint8_t kRecoil = 0x72;
inline constexpr std::uint8_t kDisabled = 0xA0;

} // namespace zq::settings::fn
