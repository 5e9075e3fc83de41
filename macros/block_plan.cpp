#include "macros/block_plan.h"

#include <algorithm>
#include <new>

#include "macros/cursor_path.h"
#include "macros/cursor_path_files.h"
#include "macros/macro_block.h"

namespace zq::macros {

BlockPlan planBlock(std::span<const std::vector<MacroAction>> macros, std::uint64_t limit) {
    BlockPlan plan;
    if (macros.empty()) return plan;
    std::vector<std::uint64_t> counts;
    counts.reserve(macros.size());
    for (const auto& m : macros) counts.push_back(m.size());
    plan.total = macroBlockSize(counts);
    // The block's own 16-bit size field bounds it too, whatever the device claims to hold.
    const std::uint64_t room = std::min(limit, kMaxBlockSize);
    if (plan.total > room) {
        plan.outcome = BlockPlan::Outcome::TooLarge;
        plan.excess = excessActions(plan.total, room);
        return plan;
    }
    try {
        plan.block = buildMacroBlock(macros);
    } catch (const std::bad_alloc&) {
        plan.outcome = BlockPlan::Outcome::OutOfMemory;
        return plan;
    }
    plan.outcome = BlockPlan::Outcome::Ready;
    return plan;
}

BlockPlan planMacroTransfer(const std::filesystem::path& folder, MacroFamily family, std::uint64_t capacity) {
    const auto macros = readFamilyMacros(folder, family);
    return planBlock(macros, capacity);
}

BlockPlan planCursorPathTransfer(const std::filesystem::path& mouseFolder) {
    std::vector<std::vector<MacroAction>> paths;
    for (const auto& file : cursorPathFiles(mouseFolder))
        paths.push_back(file ? readMacroActions(*file) : std::vector<MacroAction>{});
    return planBlock(paths, kCursorPathBlockLimit);
}

} // namespace zq::macros
