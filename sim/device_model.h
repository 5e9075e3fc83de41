#pragma once
// What each emulated device is: its identity, its nodes and the sizes of its memories. The firmware and
// the backend are driven by these values only, so a test can describe a variant (a keyboard that reports
// 171 keys, a mouse with little macro memory) by changing a copy of the default model.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zq::sim {

inline constexpr std::uint16_t kVendorId = 0x0C45;
inline constexpr std::uint16_t kMouseProductId = 0x7684;
inline constexpr std::uint16_t kPadProductId = 0x5004;
inline constexpr std::uint16_t kKeyboardProductId = 0x7122;

enum class DeviceKind : std::uint8_t { Mouse, Pad, Keyboard };

// Memory geometry shared by the whole family.
inline constexpr std::size_t kRecordSize = 64;     // one profile record per onboard slot
inline constexpr std::size_t kKeyPageStride = 126; // key-block page p starts at p * 126
inline constexpr std::size_t kKeyPageCount = 5;
inline constexpr std::size_t kMacroUnit = 128; // device information byte 6 counts these
inline constexpr std::size_t kMaxNodes = 2;

struct DeviceModel {
    DeviceKind kind = DeviceKind::Mouse;
    std::string_view name; // "mouse", "pad", "keyboard"
    std::uint16_t productId = 0;
    std::uint16_t version = 0x0100;
    std::uint8_t profileSlots = 5;
    std::uint8_t keyCount = 0;        // device information byte 5
    std::uint16_t keyBlockLength = 0; // bytes that one key-block page holds; 0 = no key memory
    std::uint8_t macroUnits = 0;      // device information byte 6; macro memory = units * 128
    std::uint16_t cursorAreaSize = 0; // cursor-path memory; 0 = none
    std::uint16_t lightFrameSize = 0; // largest light frame the device shows, 3 bytes per LED
    std::array<std::span<const std::uint8_t>, kMaxNodes> nodes{};
    std::uint8_t nodeCount = 0;
    int vendorNode = -1;   // node that carries the vendor collection
    int consumerNode = -1; // node that carries the consumer-control collection, -1 when none
};

// The key area reaches from page 0 to the end of page 4.
constexpr std::size_t keyAreaSize(const DeviceModel& s) {
    return s.keyBlockLength == 0 ? 0 : (kKeyPageCount - 1) * kKeyPageStride + s.keyBlockLength;
}
constexpr std::size_t macroAreaSize(const DeviceModel& s) {
    return std::size_t{s.macroUnits} * kMacroUnit;
}
constexpr std::size_t recordAreaSize(const DeviceModel& s) {
    return std::size_t{s.profileSlots} * kRecordSize;
}

const DeviceModel& defaultModel(DeviceKind kind);
// Mouse, pad and keyboard, in the order the backend lists them.
std::vector<DeviceModel> defaultModels();
// A keyboard model with another key count; its key block follows (3 bytes per key).
DeviceModel keyboardWithKeys(std::uint8_t keyCount);

} // namespace zq::sim
