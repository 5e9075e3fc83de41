#pragma once
// The settings pages of the three devices, built once at start with the shell's context. Their
// handlers are registered in the dispatcher by the constructors.
#include "settings/pages/button_editor.h"
#include "settings/pages/keyboard_key_page.h"
#include "settings/pages/lighting_pages.h"
#include "settings/pages/mouse_page.h"
#include "settings/pages/page_context.h"

namespace zq::settings::pages {

class SettingsPages {
public:
    explicit SettingsPages(PageContext& context)
        : lighting(context), buttons(context), mouse(context, lighting, buttons), keyboardKeys(context) {}

    // The page refresh after a read-back, slot switch, load or reset of a device.
    void refresh(device::DeviceClass device) {
        if (device == device::DeviceClass::Mouse) {
            mouse.refresh();
        } else {
            lighting.refresh(device);
            if (device == device::DeviceClass::Keyboard) keyboardKeys.refresh();
        }
    }

    LightingPages lighting;
    ButtonEditor buttons;
    MousePage mouse;
    KeyboardKeyPage keyboardKeys;
};

} // namespace zq::settings::pages
