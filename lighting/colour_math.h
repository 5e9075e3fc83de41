#pragma once
// The colour arithmetic all effects share: brightness scaling, breath scaling and the wheel step.
#include "lighting/colour_tables.h"
#include "lighting/light_frame.h"
#include "settings/lighting_settings.h"

#include <algorithm>
#include <cstdint>

namespace zq::lighting {

using settings::LightingSettings;

// The brightness curve value of a stored brightness. A brightness past the slider's range (only a foreign
// file can hold one) reads as full rather than past the end of the curve.
constexpr std::uint8_t brightnessLevel(std::uint8_t brightness) {
    return kBrightnessCurve[std::min<std::size_t>(brightness, kBrightnessSteps - 1)];
}

// A channel at brightness level L is sent as ((L + 1) x c) >> 8: level 0 gives 0, level 255 gives c.
constexpr std::uint8_t scaleChannel(std::uint8_t c, unsigned level) {
    return static_cast<std::uint8_t>(((level + 1) * c) >> 8);
}
// With a breath value b on top: (((b + 1) x c) >> 8) x (L + 1) >> 8.
constexpr std::uint8_t scaleChannel(std::uint8_t c, unsigned level, std::uint8_t breath) {
    return scaleChannel(static_cast<std::uint8_t>(((breath + 1u) * c) >> 8), level);
}
constexpr Rgb scaleColour(Rgb c, unsigned level) {
    return {scaleChannel(c.r, level), scaleChannel(c.g, level), scaleChannel(c.b, level)};
}
constexpr Rgb scaleColour(Rgb c, unsigned level, std::uint8_t breath) {
    return {scaleChannel(c.r, level, breath), scaleChannel(c.g, level, breath),
            scaleChannel(c.b, level, breath)};
}
constexpr std::uint8_t breathAlpha(unsigned level, std::uint8_t breath) {
    return static_cast<std::uint8_t>((level * breath) >> 8);
}

// Phases go up with direction != 0 and down otherwise, wrapping within [0, size).
constexpr std::uint8_t stepPhase(std::uint8_t phase, std::uint8_t direction, std::size_t size) {
    if (phase >= size) phase = 0; // a phase from an older mode's range starts over
    if (direction != 0) return static_cast<std::uint8_t>(phase + 1u >= size ? 0 : phase + 1);
    return static_cast<std::uint8_t>(phase == 0 ? size - 1 : phase - 1);
}
constexpr std::uint8_t stepWheel(std::uint8_t phase, std::uint8_t direction) {
    return stepPhase(phase, direction, kWheelSize);
}
constexpr Rgb wheel(std::size_t index) {
    return kColourWheel[index % kWheelSize];
}

// Writes LED i of a mouse or pad frame: the scaled colour to the bytes, the unscaled one to the preview.
constexpr void putLed(LedFrame& f, std::size_t i, Rgb colour, unsigned level) {
    const Rgb s = scaleColour(colour, level);
    f.bytes[3 * i] = s.r;
    f.bytes[3 * i + 1] = s.g;
    f.bytes[3 * i + 2] = s.b;
    f.preview[i] = {packPreviewColour(colour), static_cast<std::uint8_t>(level), true};
}
constexpr void putLed(LedFrame& f, std::size_t i, Rgb colour, unsigned level, std::uint8_t breath) {
    const Rgb s = scaleColour(colour, level, breath);
    f.bytes[3 * i] = s.r;
    f.bytes[3 * i + 1] = s.g;
    f.bytes[3 * i + 2] = s.b;
    f.preview[i] = {packPreviewColour(colour), breathAlpha(level, breath), true};
}
// An unlit LED: black on the device, cleared on the page.
constexpr void clearLed(LedFrame& f, std::size_t i) {
    f.bytes[3 * i] = f.bytes[3 * i + 1] = f.bytes[3 * i + 2] = 0;
    f.preview[i] = {};
}

} // namespace zq::lighting
