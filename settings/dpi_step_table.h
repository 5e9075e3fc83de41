#pragma once
// The 61 DPI steps of the mouse (200 to 6200 in steps of 100) and the one-byte code the mouse takes
// for each. The codes follow no formula. A DPI slider's position is the step index.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace zq::settings {

inline constexpr std::size_t kDpiStepCount = 61;
inline constexpr int kDpiMinIndex = 0;
inline constexpr int kDpiMaxIndex = 60;
inline constexpr int kDpiMin = 200;
inline constexpr int kDpiMax = 6200;
inline constexpr int kDpiStep = 100;

inline constexpr std::array<std::uint8_t, kDpiStepCount> kDpiStepCodes{
    4,   6,   9,   11,  13,  15,  18,  20,  22,  24,       // 200 .. 1100
    27,  29,  31,  33,  36,  38,  40,  43,  45,  47,       // 1200 .. 2100
    49,  52,  54,  56,  58,  61,  63,  65,  67,  70,       // 2200 .. 3100
    72,  74,  77,  79,  81,  83,  86,  88,  90,  92,       // 3200 .. 4100
    95,  97,  99,  102, 104, 106, 108, 111, 113, 115,      // 4200 .. 5100
    117, 120, 122, 124, 127, 129, 131, 133, 135, 138, 140, // 5200 .. 6200
};

// A slider position outside 0..60 is taken at the nearer end.
constexpr int clampDpiIndex(int index) {
    return index < kDpiMinIndex ? kDpiMinIndex : (index > kDpiMaxIndex ? kDpiMaxIndex : index);
}

constexpr int dpiOfIndex(int index) {
    return kDpiMin + kDpiStep * clampDpiIndex(index);
}
constexpr std::uint8_t codeOfIndex(int index) {
    return kDpiStepCodes[static_cast<std::size_t>(clampDpiIndex(index))];
}

// The step whose code equals `code`, searched from index 0 upward.
constexpr std::optional<int> findIndexOfCode(std::uint8_t code) {
    for (std::size_t i = 0; i < kDpiStepCount; ++i)
        if (kDpiStepCodes[i] == code) return static_cast<int>(i);
    return std::nullopt;
}

// Where a slider stands for a stored code. A code the table lacks (a damaged file, firmware of another
// revision) is shown at the step with the nearest code, the lower one on a tie, so the page never shows
// a value the mouse cannot take.
constexpr int sliderIndexOfCode(std::uint8_t code) {
    if (auto exact = findIndexOfCode(code)) return *exact;
    int best = 0;
    int bestDistance = 1 << 30;
    for (std::size_t i = 0; i < kDpiStepCount; ++i) {
        const int distance = kDpiStepCodes[i] > code ? kDpiStepCodes[i] - code : code - kDpiStepCodes[i];
        if (distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

// The step of an exact DPI value (200, 300, ... 6200).
constexpr std::optional<int> findIndexOfDpi(int dpi) {
    if (dpi < kDpiMin || dpi > kDpiMax || (dpi - kDpiMin) % kDpiStep != 0) return std::nullopt;
    return (dpi - kDpiMin) / kDpiStep;
}

} // namespace zq::settings
