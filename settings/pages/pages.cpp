#include "settings/pages/pages.h"

#include "ui/dispatcher.h"
#include "ui/page.h"

namespace zq::settings::pages {

void registerHandlers(ui::Dispatcher&, ui::Page&) {}

} // namespace zq::settings::pages
