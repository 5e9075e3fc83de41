#pragma once
// Where the engine paints the page's LED preview. The engine publishes one device's LEDs per turn from
// its lighting threads; the page reads them from its own timer.
#include "lighting/light_frame.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <span>

namespace zq::lighting {

class LightPreview {
public:
    virtual ~LightPreview() = default;
    // LED i of the device gets leds[i]; called from lighting threads.
    virtual void publish(LightDevice device, std::span<const PreviewLed> leds) = 0;
};

inline constexpr std::size_t previewLedCount(LightDevice device) {
    switch (device) {
    case LightDevice::Mouse:
        return kMouseLeds;
    case LightDevice::Pad:
        return kPadLeds;
    case LightDevice::Keyboard:
        return kKeyCount;
    }
    return 0;
}

// A preview a UI timer reads without locks: every LED is one atomic word (colour, alpha, shown), so a
// reader never sees half an LED; a generation counter per device says whether anything was published
// since the last look.
class AtomicLightPreview final : public LightPreview {
public:
    void publish(LightDevice device, std::span<const PreviewLed> leds) override;

    // An LED outside the device's range reads as not shown.
    PreviewLed led(LightDevice device, std::size_t index) const;
    std::uint64_t generation(LightDevice device) const;

private:
    static constexpr std::size_t kSlots = kKeyCount; // the largest device
    std::array<std::array<std::atomic<std::uint64_t>, kSlots>, kLightDeviceCount> leds_{};
    std::array<std::atomic<std::uint64_t>, kLightDeviceCount> generations_{};
};

} // namespace zq::lighting
