#pragma once
// The mouse's three built-in button layouts, one per onboard slot: right-handed (slot 0), left-handed
// (slot 1) and both sides (slot 2). Bytes after the nine entries are 0x05 filler.
#include "settings/key_entry.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zq::settings {

inline constexpr std::size_t kDefaultKeyTableCount = 3;
inline constexpr std::uint8_t kKeyTableFiller = 0x05;

namespace detail {
inline constexpr KeyEntry kBtnLeft{fn::kMouseButton, mouse_bit::kLeft, 0};
inline constexpr KeyEntry kBtnMiddle{fn::kMouseButton, mouse_bit::kMiddle, 0};
inline constexpr KeyEntry kBtnRight{fn::kMouseButton, mouse_bit::kRight, 0};
inline constexpr KeyEntry kBtnForward{fn::kMouseButton, mouse_bit::kForward, 0};
inline constexpr KeyEntry kBtnBack{fn::kMouseButton, mouse_bit::kBack, 0};
inline constexpr KeyEntry kBtnNone{fn::kMouseButton, mouse_bit::kNone, 0};
inline constexpr KeyEntry kDpiUp{fn::kDpiKey, 1, 0};
inline constexpr KeyEntry kDpiDown{fn::kDpiKey, 2, 0};

constexpr KeyAssignmentTable makeDefaultTable(const std::array<KeyEntry, kMouseButtonCount>& entries) {
    KeyAssignmentTable t;
    t.bytes.fill(kKeyTableFiller);
    for (std::size_t i = 0; i < entries.size(); ++i) t.setEntry(i, entries[i]);
    return t;
}
} // namespace detail

// Buttons: left, middle, right, forward (right side), back (right side), DPI 1, DPI 2, forward (left
// side), back (left side).
inline constexpr std::array<KeyAssignmentTable, kDefaultKeyTableCount> kDefaultKeyTables{
    detail::makeDefaultTable({detail::kBtnLeft, detail::kBtnMiddle, detail::kBtnRight, detail::kBtnForward,
                              detail::kBtnBack, detail::kDpiUp, detail::kDpiDown, detail::kBtnNone,
                              detail::kBtnNone}),
    detail::makeDefaultTable({detail::kBtnRight, detail::kBtnMiddle, detail::kBtnLeft, detail::kBtnNone,
                              detail::kBtnNone, detail::kDpiUp, detail::kDpiDown, detail::kBtnForward,
                              detail::kBtnBack}),
    detail::makeDefaultTable({detail::kBtnLeft, detail::kBtnMiddle, detail::kBtnRight, detail::kBtnForward,
                              detail::kBtnBack, detail::kDpiUp, detail::kDpiDown, detail::kBtnForward,
                              detail::kBtnBack}),
};

// The default table of an onboard slot. Only slots 0-2 have a layout of their own; slots 3-5 take the
// both-sides layout, the one that gives every physical button a function.
constexpr const KeyAssignmentTable& defaultKeyTableForSlot(int slot) {
    return kDefaultKeyTables[slot <= 0 ? 0 : (slot >= 2 ? 2 : static_cast<std::size_t>(slot))];
}

} // namespace zq::settings
