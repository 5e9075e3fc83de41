#pragma once
// The thirty preset swatches of the colour dialog and of the lighting pages' preset buttons, as ARGB.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace zq::settings {

inline constexpr std::size_t kPresetColourCount = 30;

inline constexpr std::array<std::uint32_t, kPresetColourCount> kPresetColours{
    0xFFFF0000, 0xFF00F6FF, 0xFF6CFF00, 0xFF7E00FF, 0xFF008AFF, 0xFF2400FF, 0xFFADFE00, 0xFFFE5400,
    0xFFFE8300, 0xFF8300E7, 0xFFB700AC, 0xFFFEB300, 0xFFFEF500, 0xFFFF0000, 0xFFFF00F6, 0xFF21B309,
    0xFF48B1FA, 0xFFFA48A4, 0xFFFDFDFC, 0xFF4900E7, 0xFFFFC480, 0xFF000000, 0xFF1B48A3, 0xFF1B1A77,
    0xFF4877A3, 0xFF76A348, 0xFFACD55B, 0xFF7576D2, 0xFF7675FF, 0xFF4776A4,
};

// A swatch number from a control name; numbers outside 0..29 name no colour.
constexpr std::optional<std::uint32_t> presetColour(long index) {
    if (index < 0 || index >= static_cast<long>(kPresetColourCount)) return std::nullopt;
    return kPresetColours[static_cast<std::size_t>(index)];
}

} // namespace zq::settings
