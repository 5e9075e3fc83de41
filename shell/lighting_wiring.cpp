#include "shell/lighting_wiring.h"

#include "device/sync.h"
#include "lighting/frame_sender.h"
#include "lighting/shared_effects.h"
#include "shell/led_preview.h"
#include "shell/main_window.h"

#include <algorithm>
#include <vector>

namespace zq::shell {

namespace {

using device::DeviceClass;

lighting::LightDevice lightDevice(DeviceClass device) {
    switch (device) {
    case DeviceClass::Mouse:
        return lighting::LightDevice::Mouse;
    case DeviceClass::Pad:
        return lighting::LightDevice::Pad;
    case DeviceClass::Keyboard:
        break;
    }
    return lighting::LightDevice::Keyboard;
}

constexpr std::size_t kDpiLevelOffset = 19; // the mouse block's current DPI level

} // namespace

LightingWiring::LightingWiring(MainWindow& window)
    : window_(window), context_(window.state().mouseLink, window.state().padLink, window.state().keyboardLink,
                                platform::systemClock(), &preview_) {
    context_.skipSame = lighting::readSkipSameSetting();
    // Slots 5 to 8, as the window starts them: keyboard, mouse, pad, synchronised.
    window_.setThread(5, [this](platform::Event& stop) { lighting::runKeyboardLighting(context_, stop); });
    window_.setThread(6, [this](platform::Event& stop) { lighting::runMouseLighting(context_, stop); });
    window_.setThread(7, [this](platform::Event& stop) { lighting::runPadLighting(context_, stop); });
    window_.setThread(8, [this](platform::Event& stop) { lighting::runSharedLighting(context_, stop); });
    window_.onWindowInit([this] {
        for (DeviceClass c : device::kDeviceClasses) lightingChanged(c);
    });
    window_.hooks.repaint = [this] { return repaint(); };
    for (const char* control : {"kb_deng_same_mode", "ms_deng_same_mode", "mp_deng_same_mode"})
        window_.dispatcher().on(ui::notify::kClick, control,
                                [this, control](const ui::Notification&) { sameMode(control); });
}

void LightingWiring::lightingChanged(DeviceClass device) {
    const auto& current = window_.state().state(device).current;
    lighting::LightingSource& source = device == DeviceClass::Mouse ? context_.mouse
                                       : device == DeviceClass::Pad ? context_.pad
                                                                    : context_.keyboard;
    source.setFromBlock(current);
    if (device == DeviceClass::Mouse) source.setDpiLevel(current[kDpiLevelOffset]);
}

bool LightingWiring::repaint() {
    // Only what the engine published since the last look is drawn again.
    std::vector<lighting::PreviewLed> leds;
    for (DeviceClass c : device::kDeviceClasses) {
        const lighting::LightDevice d = lightDevice(c);
        const std::uint64_t generation = preview_.generation(d);
        auto& shown = shown_[static_cast<std::size_t>(d)];
        if (generation == shown) continue;
        shown = generation;
        leds.resize(lighting::previewLedCount(d));
        for (std::size_t i = 0; i < leds.size(); ++i) leds[i] = preview_.led(d, i);
        showPreview(window_.page(), d, leds);
    }
    // The lights move while a device is there to stream to.
    return window_.state().anyOpen();
}

void LightingWiring::sameMode(const char* control) {
    device::AppState& state = window_.state();
    const device::SameLightingResult result = device::applySameLighting(state, control);
    if (!result.applied) return;
    // The shared lighting laid out as a block (lighting at offsets 1..8), as every source takes it.
    std::array<std::uint8_t, 1 + device::kLightingBytes + 1> block{};
    std::copy(state.sharedLighting.begin(), state.sharedLighting.end(), block.begin() + 1);
    context_.sync.setFromBlock(block);
    if (device::sameModeSource(control) == DeviceClass::Mouse)
        context_.sync.setLighting(lighting::sharedFromMouse(settings::LightingSettings::fromBlock(block)));
    for (DeviceClass receiver : result.receivers) lightingChanged(receiver);
    window_.somethingMoves();
}

} // namespace zq::shell
