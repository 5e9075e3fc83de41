#pragma once
// What the main window shows right after a first start with the devices at their factory settings:
// the mouse profile lists built by the first run from the default files, the first entry of each
// selected, and every device's LEDs at one turn of its factory lighting. The tour renders the pages
// with it; it runs the same profile and lighting code the window runs.
#include <filesystem>
#include <string>
#include <vector>

namespace zq::ui {
class Page;
class Skin;
} // namespace zq::ui

namespace zq::shell {

// `scratch` is an empty folder that stands in for the application folder (the default files are
// written there) and the user's data folder. Returns what could not be shown, with the reason.
std::vector<std::string> showFirstRunState(const ui::Page& main, const ui::Skin& skin,
                                           const std::filesystem::path& scratch);

// The LED controls alone, at one turn of each device's factory lighting (`turns` turns after the
// effect's start, so a moving effect is caught part-way).
void showFactoryLights(const ui::Page& page, int turns = 24);

} // namespace zq::shell
