#include "macros/pages/macro_pages.h"

namespace zq::macros::pages {

MacroPages::MacroPages(PageContext& context) : ctx_(context) {}

void MacroPages::start() {}

void MacroPages::stopRecording() {}

std::vector<std::string> MacroPages::macroNames(device::DeviceClass) const { return {}; }

} // namespace zq::macros::pages
