#pragma once
// Buttons that run a macro keep the macro's number in their key entry (function 0x70 or 0x71, the
// number in the first parameter). Deleting a macro renumbers the macros after it, so the cached key pages
// must follow: a button that ran the deleted macro gets its default function back, and a button that ran
// a later macro runs the same macro under its new number.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "settings/key_entry.h"

namespace zq::macros {

using KeyPage = std::array<std::uint8_t, settings::kKeyTableSize>;

// Only the first six entries of a page are looked at: the buttons a macro can be given to.
inline constexpr std::size_t kMacroAssignableEntries = 6;

bool isMacroEntry(const settings::KeyEntry& entry);

// True when one of the pages has a macro entry for this macro number.
bool anyPageRunsMacro(std::span<const KeyPage> pages, std::size_t macro);

// After macro `deleted` is gone: its entries take the same entry of `defaults`, later macros move down
// by one. True when any byte changed.
bool renumberAfterDelete(std::span<KeyPage> pages, std::size_t deleted,
                         const settings::KeyAssignmentTable& defaults);

} // namespace zq::macros
