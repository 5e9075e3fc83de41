#pragma once
// The settings pages' handlers, registered in the main window's dispatcher at start.
namespace zq::ui {
class Dispatcher;
class Page;
} // namespace zq::ui

namespace zq::settings::pages {

// Registers every handler of the settings pages that is built so far.
void registerHandlers(ui::Dispatcher& dispatcher, ui::Page& page);

} // namespace zq::settings::pages
