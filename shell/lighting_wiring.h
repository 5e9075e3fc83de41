#pragma once
// The lighting engine in the running program: its four threads in the window's slots 5 to 8, the
// lighting bytes of the host copies handed to them (after read-backs, loads and every page change), the
// LED previews on the pages, the mouse's click, and the shared animation of the same-mode buttons (the
// lighting pages copy the bytes; this hands them to the engine).
#include "device/app_state.h"
#include "lighting/light_preview.h"
#include "lighting/lighting_context.h"

#include <array>
#include <cstdint>

namespace zq::shell {

class MainWindow;

class LightingWiring {
public:
    explicit LightingWiring(MainWindow& window);
    ~LightingWiring();
    LightingWiring(const LightingWiring&) = delete;
    LightingWiring& operator=(const LightingWiring&) = delete;

    // The device's lighting bytes as its current record holds them now (after a read-back, a profile
    // load, a page change).
    void lightingChanged(device::DeviceClass device);
    void click() { context_.click(); }

private:
    bool repaint();
    void changed(device::DeviceClass device, device::LightingChange what);
    void customMapsChanged();
    void sameMode(device::DeviceClass source);

    MainWindow& window_;
    device::AppState& state_; // outlives the window, which goes first
    lighting::AtomicLightPreview preview_;
    lighting::LightingContext context_;
    std::array<std::uint64_t, lighting::kLightDeviceCount> shown_{};
};

} // namespace zq::shell
