#include "macros/pages/macro_pages.h"

#include "settings/pages/settings_pages.h"
#include "ui/dispatcher.h"
#include "ui/notification.h"

#include <utility>

namespace zq::macros::pages {

MacroPages::MacroPages(PageContext& context, settings::pages::SettingsPages& settings)
    : ctx_(context), mouse_(context, MacroFamily::Mouse, [&settings] { settings.buttons.refresh(); }),
      keyboard_(context, MacroFamily::Keyboard, [&settings] { settings.keyboardKeys.refresh(); }),
      cursorPaths_(context), mouseRecording_(context, mouse_), keyboardRecording_(context, keyboard_) {
    // One capture serves one recording: a recording started on one page (the control channel can click
    // a page that is not shown) ends the other's first, which would otherwise stay on without events.
    for (auto [recording, other] :
         {std::pair{&mouseRecording_, &keyboardRecording_}, std::pair{&keyboardRecording_, &mouseRecording_}})
        ctx_.dispatcher.on(ui::notify::kClick, recording->buttonName(),
                           [recording, other](const ui::Notification&) {
                               if (!recording->recording()) other->stop();
                               recording->toggle();
                           });
}

void MacroPages::start() {
    cursorPaths_.start();
    mouse_.start();
    keyboard_.start();
}

void MacroPages::stopRecording() {
    mouseRecording_.stop();
    keyboardRecording_.stop();
}

std::vector<std::string> MacroPages::macroNames(device::DeviceClass device) const {
    if (device == device::DeviceClass::Mouse) return mouse_.namesWithoutBuilding();
    if (device == device::DeviceClass::Keyboard) return keyboard_.namesWithoutBuilding();
    return {};
}

} // namespace zq::macros::pages
