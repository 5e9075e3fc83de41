// Macro files are imported from anywhere: reading one must stay within what the file holds, whatever
// its counts say, and the block built from it must match its own size fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz_temp_file.h"
#include "macros/block_plan.h"
#include "macros/macro_block.h"
#include "macros/macro_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zq::macros;
    const auto file = zq::fuzz::putFile(".mac", data, size);
    const std::vector<MacroAction> actions = readMacroActions(file);
    if (actions.size() > zq::fuzz::countLines(data, size)) std::abort();
    if (readMacroActionCount(file) != actions.size()) std::abort();

    zq::fuzz::dropFile(file);

    const std::vector<std::vector<MacroAction>> macros{actions, {}};
    const BlockPlan plan = planBlock(macros, 32640);
    if (plan.outcome == BlockPlan::Outcome::Ready) {
        if (plan.block.size() != plan.total) std::abort();
        if ((plan.block[2] | (plan.block[3] << 8)) != static_cast<int>(plan.total)) std::abort();
    }
    return 0;
}
