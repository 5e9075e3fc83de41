#include "settings/pages/keyboard_key_page.h"

namespace zq::settings::pages {

KeyboardKeyPage::KeyboardKeyPage(PageContext& context) : ctx_(context) {}

void KeyboardKeyPage::refresh() {}

} // namespace zq::settings::pages
