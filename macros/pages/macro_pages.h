#pragma once
// The macro pages of the mouse and the keyboard: the macro editor, recording and the cursor paths.
#include "macros/pages/cursor_paths.h"
#include "macros/pages/macro_editor.h"
#include "macros/pages/macro_recording.h"
#include "settings/pages/page_context.h"

#include <string>
#include <vector>

namespace zq::settings::pages {
class SettingsPages;
}

namespace zq::macros::pages {

using settings::pages::PageContext;

class MacroPages {
public:
    // The settings pages redraw the button pages when a macro is deleted or renamed.
    MacroPages(PageContext& context, settings::pages::SettingsPages& settings);
    MacroPages(const MacroPages&) = delete;
    MacroPages& operator=(const MacroPages&) = delete;

    // Page start at window init: the cursor-path files, then the macro lists.
    void start();
    // Ends a recording that runs (navigation, deactivation, exit).
    void stopRecording();
    // The macro names of the mouse or the keyboard, for `zq70ctl status`.
    std::vector<std::string> macroNames(device::DeviceClass device) const;

    MacroEditor& editor(device::DeviceClass device) {
        return device == device::DeviceClass::Keyboard ? keyboard_ : mouse_;
    }
    CursorPathPage& cursorPaths() { return cursorPaths_; }
    MacroRecording& recording(device::DeviceClass device) {
        return device == device::DeviceClass::Keyboard ? keyboardRecording_ : mouseRecording_;
    }

private:
    PageContext& ctx_;
    MacroEditor mouse_;
    MacroEditor keyboard_;
    CursorPathPage cursorPaths_;
    MacroRecording mouseRecording_;
    MacroRecording keyboardRecording_;
};

} // namespace zq::macros::pages
