#include "shell/led_preview.h"

#include "lighting/light_preview.h"
#include "ui/page.h"

#include <string>

namespace zq::shell {

namespace {
const char* ledPrefix(lighting::LightDevice device) {
    switch (device) {
    case lighting::LightDevice::Mouse:
        return "ms_dkey_";
    case lighting::LightDevice::Pad:
        return "mp_dkey_";
    case lighting::LightDevice::Keyboard:
        return "kb_key_";
    }
    return "";
}
} // namespace

void showPreview(const ui::Page& page, lighting::LightDevice device,
                 std::span<const lighting::PreviewLed> leds) {
    const std::string prefix = ledPrefix(device);
    const std::size_t count = std::min(leds.size(), lighting::previewLedCount(device));
    for (std::size_t i = 0; i < count; ++i) {
        const lighting::PreviewLed& led = leds[i];
        // A page not built yet has nothing to show; it shows the next frame once it is.
        page.findLoaded(prefix + std::to_string(i))
            .setLight(previewToRgb(led.colour), led.alpha, led.visible);
    }
}

} // namespace zq::shell
