#include "profiles/pages/pages.h"

#include "ui/dispatcher.h"
#include "ui/page.h"

namespace zq::profiles::pages {

void registerHandlers(ui::Dispatcher&, ui::Page&) {}

} // namespace zq::profiles::pages
