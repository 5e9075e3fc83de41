#pragma once
// Factory contents of the emulated devices' memories: what a new device holds and what the
// factory-reset command restores.
//
// Profile record layout as the firmware keeps it (the host reads and writes the head of each record):
//   0      slot (in record 0 this byte is the current-slot register)
//   1..8   lighting: mode, brightness 0..4, speed, direction, colour cycle, red, green, blue
//   9      effect state
//   mouse only: 14 report-rate index, 15..18 DPI codes of levels 1..4, 19 current DPI level 0..4,
//               20 DPI code of level 5, 23..37 indicator colours of the five levels (RGB each)
#include "sim/device_model.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zq::sim {

namespace rec {
inline constexpr std::size_t kSlot = 0;
inline constexpr std::size_t kLightMode = 1;
inline constexpr std::size_t kBrightness = 2;
inline constexpr std::size_t kLightSpeed = 3;
inline constexpr std::size_t kDirection = 4;
inline constexpr std::size_t kSevenColour = 5;
inline constexpr std::size_t kLightRgb = 6; // 3 bytes
inline constexpr std::size_t kEffectState = 9;
inline constexpr std::size_t kReportRate = 14;
inline constexpr std::size_t kDpiCodes = 15; // levels 1..4
inline constexpr std::size_t kDpiLevel = 19;
inline constexpr std::size_t kDpiCode5 = 20;
inline constexpr std::size_t kDpiRgb = 23; // 5 x 3 bytes

inline constexpr std::uint8_t kDpiLevels = 5;
inline constexpr std::uint8_t kBrightnessLevels = 5;
} // namespace rec

// DPI step codes of the factory levels: 800, 1600, 2400, 3200 and 4800 DPI.
inline constexpr std::array<std::uint8_t, 5> kFactoryDpiCodes{18, 36, 54, 72, 108};
inline constexpr std::uint8_t kFactoryDpiLevel = 1;
inline constexpr std::uint8_t kFactoryReportRate = 3;
inline constexpr std::uint8_t kFactoryBrightness = 4;
inline constexpr std::uint8_t kFactoryLightSpeed = 2;

// Filler of key-block bytes that carry no button.
inline constexpr std::uint8_t kKeyFiller = 0x05;

// profileSlots * 64 bytes; record k carries slot number k and its own light colour.
std::vector<std::uint8_t> factoryRecords(const DeviceModel& model);
// keyAreaSize(model) bytes: page p (at p * 126) starts with the button table of slot p.
std::vector<std::uint8_t> factoryKeyArea(const DeviceModel& model);

} // namespace zq::sim
