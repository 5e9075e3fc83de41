#include "settings/pages/mouse_page.h"

namespace zq::settings::pages {

MousePage::MousePage(PageContext& context, LightingPages& lighting, ButtonEditor& buttons)
    : ctx_(context), lighting_(lighting), buttons_(buttons) {}

void MousePage::refresh() {}

void MousePage::selectDeviceProfile(int) {}

void MousePage::reselectReportRate() {}

} // namespace zq::settings::pages
