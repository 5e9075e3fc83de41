#include "settings/key_code_table.h"

#include "settings/byte_order.h"
#include "settings/function_types.h"

#include <algorithm>

namespace zq::settings {

std::array<std::uint8_t, 6> keyCodeRowBytes(const KeyCodeRow& row) {
    std::array<std::uint8_t, 6> bytes{};
    writeLe16(bytes, 0, row.vk);
    bytes[2] = row.keyClass;
    bytes[3] = row.p1;
    bytes[4] = row.p2;
    return bytes;
}

std::optional<std::size_t> findKeyByVirtualKey(std::uint16_t vk, std::size_t rowLimit) {
    const std::size_t end = std::min(rowLimit, kKeyCodeTable.size());
    for (std::size_t i = 0; i < end; ++i)
        if (kKeyCodeTable[i].vk == vk) return i;
    return std::nullopt;
}

std::optional<std::size_t> findKeyByCodePair(std::uint8_t p1, std::uint8_t p2, std::size_t rowLimit) {
    const std::size_t end = std::min(rowLimit, kKeyCodeTable.size());
    for (std::size_t i = 0; i < end; ++i)
        if (kKeyCodeTable[i].p1 == p1 && kKeyCodeTable[i].p2 == p2) return i;
    return std::nullopt;
}

std::optional<std::size_t> captureKeyRow(std::uint16_t vk, std::uint32_t hookFlags) {
    const auto row = findKeyByVirtualKey(captureVirtualKey(vk, hookFlags));
    if (!row || kKeyCodeTable[*row].keyClass != fn::kKeyboard) return std::nullopt;
    return row;
}

std::optional<std::size_t> findMouseEvent(std::uint16_t message) {
    for (std::size_t i = 0; i < kMouseEventTable.size(); ++i)
        if (kMouseEventTable[i].message == message) return i;
    return std::nullopt;
}

} // namespace zq::settings
