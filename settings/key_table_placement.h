#pragma once
// Where a key table lands in the 512-byte page written to the mouse for an onboard slot: the table's
// first 512 - s x 126 bytes start at byte s x 126.
#include "settings/key_entry.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zq::settings {

inline constexpr std::size_t kSlotPlacementStride = 126;

enum class PlacementBase {
    Zeroed,   // the transfer from the button page: the bytes before the slot's offset are zero
    OwnTable, // a profile selection: the bytes before the slot's offset are the table's own
};

// For slot 5 and above the offset (630, ...) lies past the page, so nothing of the table is shifted in and
// the page is just its base; the copy never runs past the 512 bytes.
constexpr std::array<std::uint8_t, kKeyTableSize> placeKeyTableForSlot(const KeyAssignmentTable& table,
                                                                       int slot, PlacementBase base) {
    std::array<std::uint8_t, kKeyTableSize> page{};
    if (base == PlacementBase::OwnTable) page = table.bytes;
    const std::size_t s = slot < 0 ? 0 : static_cast<std::size_t>(slot);
    const std::size_t at = s * kSlotPlacementStride;
    if (at >= kKeyTableSize) return page;
    const std::size_t n = kKeyTableSize - at;
    for (std::size_t i = 0; i < n; ++i) page[at + i] = table.bytes[i];
    return page;
}

} // namespace zq::settings
