#include "sim/device_model.h"

#include "sim/descriptors.h"

namespace zq::sim {

namespace {

constexpr std::uint8_t kKeyboardKeys = 126;
constexpr std::uint8_t kMouseButtons = 9;

constexpr DeviceModel makeMouse() {
    DeviceModel s;
    s.kind = DeviceKind::Mouse;
    s.name = "mouse";
    s.productId = kMouseProductId;
    s.version = 0x0105;
    s.keyCount = kMouseButtons;
    s.keyBlockLength = 512;
    s.macroUnits = 255; // 32640 bytes
    s.cursorAreaSize = 3072;
    s.lightFrameSize = 60; // 20 LEDs
    s.nodes = {std::span<const std::uint8_t>(kMouseBootDescriptor),
               std::span<const std::uint8_t>(kMouseControlDescriptor)};
    s.nodeCount = 2;
    s.vendorNode = 1;
    s.consumerNode = 1;
    return s;
}

constexpr DeviceModel makePad() {
    DeviceModel s;
    s.kind = DeviceKind::Pad;
    s.name = "pad";
    s.productId = kPadProductId;
    s.version = 0x0102;
    s.lightFrameSize = 60; // 15 LEDs, and the 60-byte frames some effects send
    s.nodes = {std::span<const std::uint8_t>(kPadDescriptor), {}};
    s.nodeCount = 1;
    s.vendorNode = 0;
    return s;
}

constexpr DeviceModel makeKeyboard() {
    DeviceModel s;
    s.kind = DeviceKind::Keyboard;
    s.name = "keyboard";
    s.productId = kKeyboardProductId;
    s.version = 0x0110;
    s.keyCount = kKeyboardKeys;
    s.keyBlockLength = 3 * kKeyboardKeys;
    s.macroUnits = 128; // 16384 bytes
    s.lightFrameSize = 3 * kKeyboardKeys;
    s.nodes = {std::span<const std::uint8_t>(kKeyboardBootDescriptor),
               std::span<const std::uint8_t>(kKeyboardControlDescriptor)};
    s.nodeCount = 2;
    s.vendorNode = 1;
    s.consumerNode = 1;
    return s;
}

constexpr std::array<DeviceModel, 3> kDefaultModels{makeMouse(), makePad(), makeKeyboard()};

} // namespace

const DeviceModel& defaultModel(DeviceKind kind) {
    return kDefaultModels[static_cast<std::size_t>(kind)];
}

std::vector<DeviceModel> defaultModels() {
    return {kDefaultModels.begin(), kDefaultModels.end()};
}

DeviceModel keyboardWithKeys(std::uint8_t keyCount) {
    DeviceModel s = defaultModel(DeviceKind::Keyboard);
    s.keyCount = keyCount;
    s.keyBlockLength = static_cast<std::uint16_t>(3 * keyCount);
    return s;
}

} // namespace zq::sim
