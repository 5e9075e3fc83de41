#pragma once
// The click flash the mouse and the pad share: a click starts a 100 ms flash at the next position of
// the colour wheel.
#include "platform/clock.h"

#include <chrono>
#include <cstdint>

namespace zq::lighting {

struct ReactiveFlash {
    static constexpr std::chrono::milliseconds kLength{99};
    static constexpr std::uint8_t kPositionStep = 14;

    bool active = false;
    platform::Clock::TimePoint start{};
    std::uint8_t position = 0;

    // Whether the flash shows in this turn. The turn that finds the flash over (more than 99 ms since
    // the click) still shows it; the next one does not.
    constexpr bool turn(bool clicked, platform::Clock::TimePoint now) {
        if (clicked) {
            active = true;
            start = now;
            const unsigned next = position + kPositionStep;
            position = static_cast<std::uint8_t>(next > 191 ? 0 : next);
        }
        if (!active) return false;
        if (now - start > kLength) active = false;
        return true;
    }
};

} // namespace zq::lighting
