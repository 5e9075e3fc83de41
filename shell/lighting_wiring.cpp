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
    : window_(window), state_(window.state()),
      context_(window.state().mouseLink, window.state().padLink, window.state().keyboardLink,
               platform::systemClock(), &preview_) {
    context_.skipSame = lighting::readSkipSameSetting();
    // Slots 5 to 8, as the window starts them: keyboard, mouse, pad, synchronised.
    window_.setThread(5, [this](platform::Event& stop) { lighting::runKeyboardLighting(context_, stop); });
    window_.setThread(6, [this](platform::Event& stop) { lighting::runMouseLighting(context_, stop); });
    window_.setThread(7, [this](platform::Event& stop) { lighting::runPadLighting(context_, stop); });
    window_.setThread(8, [this](platform::Event& stop) { lighting::runSharedLighting(context_, stop); });
    window_.onWindowInit([this] {
        for (DeviceClass c : device::kDeviceClasses) lightingChanged(c);
        customMapsChanged();
    });
    window_.hooks.repaint = [this] { return repaint(); };
    state_.onLightingChange = [this](DeviceClass device, device::LightingChange what) {
        changed(device, what);
    };
}

LightingWiring::~LightingWiring() {
    state_.onLightingChange = nullptr;
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
    // The keyboard's preview goes dark while its key-assignment page is up (its frames still go out).
    context_.keyboardExtras.setKeyPageSelected(window_.page().findLoaded("kb_key_Op_tab").exists() &&
                                               window_.page().option("kb_key_Op_tab").selected());
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

void LightingWiring::changed(DeviceClass device, device::LightingChange what) {
    lighting::LightingSource& source = device == DeviceClass::Mouse ? context_.mouse
                                       : device == DeviceClass::Pad ? context_.pad
                                                                    : context_.keyboard;
    switch (what) {
    case device::LightingChange::Settings:
        // Only the eight lighting bytes: the effect state the thread keeps stays its own.
        source.setLighting(settings::LightingSettings::fromBlock(window_.state().state(device).current));
        break;
    case device::LightingChange::EffectReset:
        source.resetEffectState();
        break;
    case device::LightingChange::CustomMaps:
        customMapsChanged();
        break;
    case device::LightingChange::Shared:
        sameMode(device);
        break;
    }
    window_.somethingMoves();
}

void LightingWiring::customMapsChanged() {
    // The keyboard's custom mode shows the selected map; a selection past the last map reads as map 0,
    // as the lighting files have always been read.
    const auto& custom = window_.state().keyboardCustomLighting;
    std::size_t map = custom[0];
    if (map >= device::kCustomMaps) map = 0;
    const std::size_t at = device::kCustomMapSelectionBytes + map * device::kCustomMapBytes;
    context_.keyboardExtras.setCustomMap(
        std::span<const std::uint8_t, device::kCustomMapBytes>(custom.data() + at, device::kCustomMapBytes));
}

void LightingWiring::sameMode(DeviceClass source) {
    device::AppState& state = window_.state();
    // The shared lighting laid out as a block (lighting at offsets 1..8), as every source takes it.
    std::array<std::uint8_t, 1 + device::kLightingBytes + 1> block{};
    std::copy(state.sharedLighting.begin(), state.sharedLighting.end(), block.begin() + 1);
    context_.sync.setFromBlock(block);
    if (source == DeviceClass::Mouse)
        context_.sync.setLighting(lighting::sharedFromMouse(settings::LightingSettings::fromBlock(block)));
    for (DeviceClass receiver : device::kDeviceClasses)
        if (receiver != source) lightingChanged(receiver);
}

} // namespace zq::shell
