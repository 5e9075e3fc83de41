#include "lighting/lighting_source.h"

#include <algorithm>

namespace zq::lighting {

void LightingSource::setLighting(const settings::LightingSettings& lighting) {
    std::lock_guard lock(mutex_);
    state_.lighting = lighting;
}

void LightingSource::setFromBlock(std::span<const std::uint8_t> block) {
    if (block.size() < settings::kLightingBlockOffset + settings::kLightingSize + 1) return;
    std::lock_guard lock(mutex_);
    state_.lighting = settings::LightingSettings::fromBlock(block);
    state_.effectState = block[settings::kLightingBlockOffset + settings::kLightingSize];
}

void LightingSource::setDpiLevel(std::uint8_t level) {
    std::lock_guard lock(mutex_);
    state_.dpiLevel = level;
}

void LightingSource::setEffectState(std::uint8_t value) {
    std::lock_guard lock(mutex_);
    state_.effectState = value;
}

std::uint8_t LightingSource::effectState() const {
    std::lock_guard lock(mutex_);
    return state_.effectState;
}

void LightingSource::resetEffectState() {
    std::lock_guard lock(mutex_);
    state_.effectState = 0;
    ++state_.resetGeneration;
}

LightingSnapshot LightingSource::snapshot() const {
    std::lock_guard lock(mutex_);
    return state_;
}

void LightingSource::storeEffectState(std::uint8_t value, std::uint32_t generation) {
    std::lock_guard lock(mutex_);
    if (generation == state_.resetGeneration) state_.effectState = value;
}

void KeyboardExtrasSource::setCustomMap(std::span<const std::uint8_t, 378> map) {
    std::lock_guard lock(mutex_);
    std::copy(map.begin(), map.end(), state_.customMap.begin());
}

void KeyboardExtrasSource::setModelNumber(std::uint8_t model) {
    std::lock_guard lock(mutex_);
    state_.modelNumber = model;
}

void KeyboardExtrasSource::setKeyPageSelected(bool selected) {
    std::lock_guard lock(mutex_);
    state_.keyPageSelected = selected;
}

void KeyboardExtrasSource::snapshot(KeyboardExtras& out) const {
    std::lock_guard lock(mutex_);
    out = state_;
}

} // namespace zq::lighting
