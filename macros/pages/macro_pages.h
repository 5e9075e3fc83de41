#pragma once
// The macro pages of the mouse and the keyboard: the macro editor, recording and the cursor paths.
#include "settings/pages/page_context.h"

#include <string>
#include <vector>

namespace zq::macros::pages {

using settings::pages::PageContext;

class MacroPages {
public:
    explicit MacroPages(PageContext& context);
    MacroPages(const MacroPages&) = delete;
    MacroPages& operator=(const MacroPages&) = delete;

    // Page start at window init: the macro lists, the cursor-path files.
    void start();
    // Ends a recording that runs (navigation, deactivation, exit).
    void stopRecording();
    // The macro names of the mouse or the keyboard, for `zq70ctl status`.
    std::vector<std::string> macroNames(device::DeviceClass device) const;

private:
    PageContext& ctx_;
};

} // namespace zq::macros::pages
