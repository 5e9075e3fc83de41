#pragma once
// What one turn of an effect produces: the bytes for the device (3 per LED, red green blue, LED 0
// first) and the colours the page shows on its LED preview.
#include "lighting/colour_tables.h"
#include "lighting/key_tables.h"
#include "lighting/led_tables.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zq::lighting {

enum class LightDevice : std::uint8_t { Mouse, Pad, Keyboard };
inline constexpr std::size_t kLightDeviceCount = 3;

// One preview LED: the unscaled colour packed as (green << 16) | (blue << 8) | red, the alpha the page
// paints it with, and whether it is shown at all (a cleared LED is not).
struct PreviewLed {
    std::uint32_t colour = 0;
    std::uint8_t alpha = 0;
    bool visible = false;
    friend constexpr bool operator==(const PreviewLed&, const PreviewLed&) = default;
};

constexpr std::uint32_t packPreviewColour(Rgb c) {
    return (std::uint32_t{c.g} << 16) | (std::uint32_t{c.b} << 8) | std::uint32_t{c.r};
}

// Frame sizes on the wire.
inline constexpr std::size_t kMouseFrameSize = 15;
inline constexpr std::size_t kWideFrameSize = 60; // the full buffer: mouse mode 6, some pad modes
inline constexpr std::size_t kPadFrameSize = 45;
inline constexpr std::size_t kKeyboardFrameSize = 3 * kKeyCount; // 378

// A mouse or pad turn. The effect always fills the full 60-byte buffer and the page's whole preview;
// `length` says how many bytes go to the device, 0 for a turn that sends nothing.
struct LedFrame {
    std::array<std::uint8_t, kWideFrameSize> bytes{};
    std::array<PreviewLed, kMouseLeds> preview{};
    std::size_t length = 0;
};

struct KeyboardFrame {
    std::array<std::uint8_t, kKeyboardFrameSize> bytes{};
    std::array<PreviewLed, kKeyCount> preview{};
};

} // namespace zq::lighting
