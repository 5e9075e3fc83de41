#pragma once
// The tour: every layout of the skin rendered to a picture, every page of the main window reached
// through its device and option tabs, with the first-run profile lists and the factory lighting
// shown, and a list of every named control with its kind.
#include <string>
#include <vector>

namespace zq::ui {
class Skin;
}

namespace zq::shell {

struct TourResult {
    std::vector<std::string> pictures; // files written
    std::vector<std::string> failures; // layouts that did not load, with the reason
    int controls = 0;                  // lines of controls.tsv
};

// Writes DIR/<layout>.png, DIR/XML_MAIN.<device tab>[.<option tab>].png and DIR/controls.tsv.
TourResult runTour(const ui::Skin& skin, const std::string& folder);

// A layout's resource name as a file name: no separators, nothing hidden.
std::string pictureName(const std::string& resourceName);

} // namespace zq::shell
