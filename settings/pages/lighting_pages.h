#pragma once
// The lighting pages of the mouse, the pad and the keyboard: modes, brightness, speed, colours,
// presets, colour cycle, direction, same-mode buttons, the pad's slot list, and the keyboard's custom
// colour maps.
#include "settings/colour.h"
#include "settings/light_modes.h"
#include "settings/lighting_settings.h"
#include "settings/pages/page_context.h"

#include <cstdint>
#include <string>

namespace zq::settings::pages {

class LightingPages {
public:
    explicit LightingPages(PageContext& context);
    LightingPages(const LightingPages&) = delete;
    LightingPages& operator=(const LightingPages&) = delete;

    // The pad's and the keyboard's page refresh (the mouse page refreshes its own lighting part through
    // the two calls below).
    void refresh(device::DeviceClass device);
    // The mouse's light-mode operation for entry `entry` of "ms_deng_combo_modeSelect0": the mode's
    // layouts, seven_colour where the mode forces it, dirty flag, both mouse files saved.
    void applyMouseLightMode(int entry);
    // The mouse's palette, colour edits and colour button show `colour`.
    void showMouseColour(Rgb colour);

    // A key of the keyboard picture clicked while the lighting page shows: in the custom mode it takes the
    // paint colour in the selected map. (The picture's "kb_key_" buttons are routed by the key page.)
    void paintKeyboardKey(int key);
    // The colour the custom mode paints keys with.
    Rgb paintColour() const { return paint_; }

private:
    struct Target; // one device's controls and files

    void onMode(const Target& t, LightModeCombo combo, int entry);
    void modeOperation(const Target& t, LightModeCombo combo, int entry, bool store);
    void showModeLayouts(const Target& t, LightModeCombo combo, int entry, bool visibility);
    void keyboardModeLayouts(int entry);
    void onBrightness(const Target& t, int position);
    void onSpeed(const Target& t, int position);
    void applyColour(const Target& t, std::uint32_t argb);
    void onChannelEdit(const Target& t, std::size_t channel);
    void onSevenColour(const Target& t);
    void onDirectionCheck(const Target& t, bool left);
    void onMouseDirectionButton(std::uint8_t direction);
    void pickColour(const Target& t);
    void sameMode(const Target& t);
    void onCustomMapSelected(int map);
    void onCustomFill(bool allOn);
    void setPaintColour(std::uint32_t argb);

    void showColour(const Target& t, Rgb colour);
    void refreshDevice(const Target& t);
    bool customMode() const;
    LightingSettings lighting(const Target& t) const;
    void store(const Target& t, const LightingSettings& s);
    void changed(const Target& t, const LightingSettings& s);
    static const Target& target(device::DeviceClass device);

    PageContext& ctx_;
    Rgb paint_{0xFF, 0xFF, 0xFF};
};

} // namespace zq::settings::pages
