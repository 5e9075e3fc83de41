#pragma once
// The arithmetic of the two host settings that ride in the mouse record: the pointer speed (1..20) and
// the wheel scroll lines (1..100). Applying them to the desktop is the platform's job; these rules only
// say which value a control position or a step button gives.
#include <algorithm>
#include <cstdint>

namespace zq::settings {

inline constexpr int kPointerSpeedMin = 1;
inline constexpr int kPointerSpeedMax = 20;
inline constexpr int kWheelLinesMin = 1;
inline constexpr int kWheelLinesMax = 100;

// Speed applied for a slider position: position 0 gives 2, position 9 gives 20.
constexpr int pointerSpeedFromSlider(int position) {
    return (std::max(position, 0) + 1) * 2;
}

// Slider position for a speed (integer division: 7 gives 2, 20 gives 9); never left of the slider.
constexpr int sliderFromPointerSpeed(int speed) {
    return std::max(speed / 2 - 1, 0);
}

// Before a speed is applied: 0 (and below) becomes 1, above 20 becomes 20.
constexpr int clampPointerSpeed(int speed) {
    return std::clamp(speed, kPointerSpeedMin, kPointerSpeedMax);
}

// A value of 0 read back from the desktop counts as 1.
constexpr int hostValueOrOne(int value) {
    return value <= 0 ? 1 : value;
}

// Wheel "up": a value of 0 or less (an empty edit reads 0) counts as 1, then one more, at most 100.
constexpr int wheelStepUp(long current) {
    const long base = current <= 0 ? 1 : current;
    return static_cast<int>(std::min<long>(base + 1, kWheelLinesMax));
}

// Wheel "down": above 100 is pulled back to 100 (and kept there), otherwise one less, at least 1.
constexpr int wheelStepDown(long current) {
    if (current > kWheelLinesMax) return kWheelLinesMax;
    if (current >= 2) return static_cast<int>(current - 1);
    return kWheelLinesMin;
}

// What the wheel edit shows while it is typed in: above 100 reads as 100, 0 or less as 1.
constexpr int clampWheelLines(long value) {
    return static_cast<int>(std::clamp<long>(value, kWheelLinesMin, kWheelLinesMax));
}

} // namespace zq::settings
