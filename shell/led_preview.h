#pragma once
// The LED preview of a device page: every preview LED the lighting engine computes shown on its control
// ("ms_dkey_<n>", "mp_dkey_<n>", "kb_key_<n>") as a light overlay of the LED's colour and alpha.
#include "lighting/light_frame.h"

#include <cstdint>
#include <span>

namespace zq::ui {
class Page;
}

namespace zq::shell {

// The engine packs a preview colour as (green << 16) | (blue << 8) | red; the controls take 0xRRGGBB.
constexpr std::uint32_t previewToRgb(std::uint32_t packed) {
    const std::uint32_t red = packed & 0xFF;
    const std::uint32_t green = (packed >> 16) & 0xFF;
    const std::uint32_t blue = (packed >> 8) & 0xFF;
    return (red << 16) | (green << 8) | blue;
}

// Lights the device's LED controls of a page; an LED the engine does not show is switched off.
void showPreview(const ui::Page& page, lighting::LightDevice device,
                 std::span<const lighting::PreviewLed> leds);

} // namespace zq::shell
