#pragma once
// The one dispatcher of the main window's notifications: per notification type, a table of control
// names (compared without regard to case) and a table of indexed families ("ms_profile_" + 3), each name
// leading to one handler. Page modules register their handlers at start; the shell registers its own.
//
// A sender's name is tried whole first, then split at its last underscore into the prefix (underscore
// included) and the decimal number after it. A notification no table names goes to the type's fallback
// (the shell's navigation for "selectchanged"), then nowhere.
#include "ui/notification.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace zq::ui {

// The selection changes the navigation passes on ("other names": profile link checks, the keyboard's
// all-on / all-off checks): registered under this type, run after the macro-edit guards and the tabs.
inline constexpr const char* kSelectChangedAfterNavigation = "selectchanged.afternavigation";

class Dispatcher {
public:
    using Handler = std::function<void(const Notification&)>;
    using IndexedHandler = std::function<void(const Notification&, int index)>;

    // One handler per (type, name); registering a name again replaces its handler.
    void on(std::string_view type, std::string_view name, Handler handler);
    // A family: the prefix ends with its underscore ("kb_key_").
    void onFamily(std::string_view type, std::string_view prefix, IndexedHandler handler);
    // Runs when no name or family of the type matched.
    void onUnmatched(std::string_view type, Handler handler);

    // True when a name or family handler ran (the fallback does not count).
    bool dispatch(const Notification& n) const;
    bool handles(std::string_view type, std::string_view name) const;

    // "ms_profile_3" → {"ms_profile_", 3}; nullopt without an underscore or a number after the last one.
    static std::optional<std::pair<std::string, int>> splitIndexed(std::string_view name);

private:
    struct Table {
        std::map<std::string, Handler, std::less<>> names;
        std::map<std::string, IndexedHandler, std::less<>> families;
        Handler unmatched;
    };
    const Table* table(std::string_view type) const;
    std::map<std::string, Table, std::less<>> tables_;
};

} // namespace zq::ui
