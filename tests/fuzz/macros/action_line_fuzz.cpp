// Action lines come from files anyone can hand the program: any text must parse, and whatever it parses
// to must survive formatting and parsing again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "macros/action_row.h"
#include "macros/macro_action.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const zq::macros::MacroAction a = zq::macros::parseActionLine(text);
    if (a.nameId.find(',') != std::string_view::npos) std::abort();
    if (zq::macros::parseActionLine(zq::macros::formatActionLine(a)) != a) std::abort();
    (void)zq::macros::buildActionRow(a);
    return 0;
}
