#include "lighting/light_preview.h"

#include <algorithm>

namespace zq::lighting {

namespace {
constexpr std::uint64_t kShownBit = std::uint64_t{1} << 32;

constexpr std::uint64_t pack(const PreviewLed& led) {
    return (led.colour & 0xFFFFFFu) | (std::uint64_t{led.alpha} << 24) | (led.visible ? kShownBit : 0);
}
constexpr PreviewLed unpack(std::uint64_t w) {
    return {static_cast<std::uint32_t>(w & 0xFFFFFFu), static_cast<std::uint8_t>(w >> 24),
            (w & kShownBit) != 0};
}
} // namespace

void AtomicLightPreview::publish(LightDevice device, std::span<const PreviewLed> leds) {
    const auto d = static_cast<std::size_t>(device);
    const std::size_t n = std::min(leds.size(), previewLedCount(device));
    for (std::size_t i = 0; i < n; ++i) leds_[d][i].store(pack(leds[i]), std::memory_order_relaxed);
    generations_[d].fetch_add(1, std::memory_order_release);
}

PreviewLed AtomicLightPreview::led(LightDevice device, std::size_t index) const {
    if (index >= previewLedCount(device)) return {};
    return unpack(leds_[static_cast<std::size_t>(device)][index].load(std::memory_order_relaxed));
}

std::uint64_t AtomicLightPreview::generation(LightDevice device) const {
    return generations_[static_cast<std::size_t>(device)].load(std::memory_order_acquire);
}

} // namespace zq::lighting
