#include "macros/pages/pages.h"

#include "ui/dispatcher.h"
#include "ui/page.h"

namespace zq::macros::pages {

void registerHandlers(ui::Dispatcher&, ui::Page&) {}

} // namespace zq::macros::pages
