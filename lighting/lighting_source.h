#pragma once
// The lighting bytes a lighting thread reads each turn, handed over from the UI thread.
//
// The UI thread owns the device blocks. Whenever it changes a block's lighting (a page operation, a
// profile load, same mode) it copies the lighting here; each turn the thread takes a snapshot. The one
// byte an effect writes back, effect_state, goes the other way: the thread stores it here and the UI
// thread copies it into its block before pushing or saving. A small lock guards the few bytes, so no
// turn ever sees a half-written colour.
#include "settings/lighting_settings.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <span>

namespace zq::lighting {

struct LightingSnapshot {
    settings::LightingSettings lighting;
    std::uint8_t effectState = 0;
    std::uint8_t dpiLevel = 0;
    // Bumped by every effect-state reset, so a thread knows to start its effect over.
    std::uint32_t resetGeneration = 0;
};

class LightingSource {
public:
    void setLighting(const settings::LightingSettings& lighting);
    // The lighting bytes and effect_state of a whole block (offsets 1-9), e.g. after a profile load.
    void setFromBlock(std::span<const std::uint8_t> block);
    void setDpiLevel(std::uint8_t level);
    void setEffectState(std::uint8_t value);
    std::uint8_t effectState() const;
    // The effect-state reset: a light mode chosen, an effect direction changed.
    void resetEffectState();

    LightingSnapshot snapshot() const;
    // The thread's write-back; dropped when a reset came in since the snapshot it was computed from.
    void storeEffectState(std::uint8_t value, std::uint32_t generation);

private:
    mutable std::mutex mutex_;
    LightingSnapshot state_;
};

// What the keyboard thread needs besides its lighting bytes.
struct KeyboardExtras {
    std::array<std::uint8_t, 378> customMap{}; // the selected custom colour map
    std::uint8_t modelNumber = 0;              // a keyboard model variant; the engine lights model 0 only
    bool keyPageSelected = false;              // the key-assignment page is up: previews hidden
};

class KeyboardExtrasSource {
public:
    void setCustomMap(std::span<const std::uint8_t, 378> map);
    void setModelNumber(std::uint8_t model);
    void setKeyPageSelected(bool selected);
    void snapshot(KeyboardExtras& out) const;

private:
    mutable std::mutex mutex_;
    KeyboardExtras state_;
};

} // namespace zq::lighting
