#include "settings/pages/lighting_pages.h"

namespace zq::settings::pages {

LightingPages::LightingPages(PageContext& context) : ctx_(context) {}

void LightingPages::refresh(device::DeviceClass) {}

void LightingPages::applyMouseLightMode(int) {}

void LightingPages::showMouseColour(Rgb) {}

} // namespace zq::settings::pages
