#pragma once
// The lighting pages of the mouse, the pad and the keyboard: modes, brightness, speed, colours,
// presets, colour cycle, direction, same-mode buttons, the pad's slot list, and the keyboard's custom
// colour maps.
#include "settings/colour.h"
#include "settings/pages/page_context.h"

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

private:
    PageContext& ctx_;
};

} // namespace zq::settings::pages
