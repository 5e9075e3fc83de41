#pragma once
// The main window's tab navigation: the device tab buttons select the pages of "tab_switch", each
// device's option tab buttons the pages of its own tab layout, and the pieces of a page that belong to
// one option are shown, hidden, enabled or disabled with it. The buttons of one strip are exclusive, so
// the selected button and the page shown always agree.
//
// The macro-edit guards, the recording hooks and the report-rate read-back that the window runs around
// a tab change belong to the pages that own them; the window calls them before and after follow().
#include "ui/notification.h"

#include <string>
#include <string_view>
#include <vector>

namespace zq::ui {
class Page;
}

namespace zq::shell {

class Navigation {
public:
    explicit Navigation(const ui::Page& main) : main_(main) {}

    // Follows a "selectchanged" of a tab button. True when the sender is a tab button (whether it was
    // selected or deselected); false for every other notification, which the caller routes on.
    bool follow(const ui::Notification& n) const;

    // Selects a tab button as a click would, raising its "selectchanged" through the page's dispatcher.
    void select(std::string_view button) const;

    // The device tab buttons in page order, and the option tab buttons of one device tab (none for a
    // device whose page has no option layout).
    static const std::vector<std::string>& deviceTabs();
    static std::vector<std::string> optionTabs(std::string_view deviceTab);

private:
    void followKeyboard(const std::string& name) const;
    void followMouse(const std::string& name) const;

    const ui::Page& main_;
};

} // namespace zq::shell
