#pragma once
// What the save-to-device button sends: the macro block of a family, and the cursor-path block of the
// mouse, built from the stored files (never from the list on screen) and checked against the room the
// device has for them. Sending the plan is the device layer's job.
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "macros/macro_action.h"
#include "macros/macro_files.h"

namespace zq::macros {

struct BlockPlan {
    enum class Outcome {
        Nothing,    // no macros (paths): no block is written
        Ready,      // block holds the bytes to send
        TooLarge,   // more than the device holds; nothing is sent
        OutOfMemory // the block could not be allocated; nothing is sent
    };
    Outcome outcome = Outcome::Nothing;
    std::uint64_t total = 0;  // size the block has or would have
    std::uint64_t excess = 0; // TooLarge: the 4-byte actions too many, plus one (for "message_text_16")
    std::vector<std::uint8_t> block;
};

// Packs the macros when they fit `limit` bytes (equal fits).
BlockPlan planBlock(std::span<const std::vector<MacroAction>> macros, std::uint64_t limit);

// All macros of the family, in macro-number order, against the device's macro memory in bytes
// (see macroCapacity). Each macro file is read once, so the size checked is the size sent.
BlockPlan planMacroTransfer(const std::filesystem::path& folder, MacroFamily family, std::uint64_t capacity);

// The mouse's cursor paths named by CURSORCOUNT/CURSORNAME of the mouse index, in slot order, against
// the 3072-byte limit.
BlockPlan planCursorPathTransfer(const std::filesystem::path& mouseFolder);

} // namespace zq::macros
