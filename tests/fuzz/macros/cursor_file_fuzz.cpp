// A cursor-path file as a user might import it, read through every path the step editor and the
// transfer take.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz_temp_file.h"
#include "macros/block_plan.h"
#include "macros/cursor_path_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zq::macros;
    const auto file = zq::fuzz::putFile(".cur", data, size);
    const std::vector<MacroAction> path = readCursorPathFile(file);
    if (path.size() > zq::fuzz::countLines(data, size)) std::abort();
    (void)isImportableCursorPath(file);
    // The first, the last and one more step; every step reads the same way.
    for (std::size_t b : {std::size_t{0}, size % kCursorPathSteps, kCursorPathSteps - 1})
        if (!loadCursorStep(file, b)) std::abort();
    zq::fuzz::dropFile(file);

    const std::vector<std::vector<MacroAction>> four(kCursorPathSlots, path);
    const BlockPlan plan = planBlock(four, kCursorPathBlockLimit);
    if (plan.outcome == BlockPlan::Outcome::Ready && plan.block.size() > kCursorPathBlockLimit) std::abort();
    return 0;
}
