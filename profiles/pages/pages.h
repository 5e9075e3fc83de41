#pragma once
// The profiles pages' handlers, registered in the main window's dispatcher at start.
namespace zq::ui {
class Dispatcher;
class Page;
} // namespace zq::ui

namespace zq::profiles::pages {

// Registers every handler of the profiles pages that is built so far.
void registerHandlers(ui::Dispatcher& dispatcher, ui::Page& page);

} // namespace zq::profiles::pages
