#pragma once
// The macros pages' handlers, registered in the main window's dispatcher at start.
namespace zq::ui {
class Dispatcher;
class Page;
} // namespace zq::ui

namespace zq::macros::pages {

// Registers every handler of the macros pages that is built so far.
void registerHandlers(ui::Dispatcher& dispatcher, ui::Page& page);

} // namespace zq::macros::pages
