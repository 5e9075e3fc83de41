#pragma once
// How one action shows as a row of the action list. Two forms exist: the editor's row of three styled
// labels, and the plain three-column text row the mouse-event recorder appends (it turns into the
// editor's form once the macro is saved and loaded again).
#include <string>

#include "macros/macro_action.h"

namespace zq::macros {

inline constexpr int kActionRowHeight = 30;
inline constexpr int kRecorderRowHeight = 25;
// Row container names: the editor's row per page, and the recorder's row.
inline constexpr const char* kMouseActionRowName = "ms_macro_action";
inline constexpr const char* kKeyboardActionRowName = "kb_macro_action";
inline constexpr const char* kRecorderRowName = "macro_action";

struct ActionLabel {
    std::string text; // the name label holds a text id, the others plain text
    std::string style;
};

struct ActionRow {
    ActionLabel name;
    ActionLabel state;
    ActionLabel delay;
};

// The editor's form: name label styled by kind (mouse kinds below 9, keyboard kinds above), state label
// with the distance of a move or the down/up style of a button or key, and the delay.
ActionRow buildActionRow(const MacroAction& action);

struct RecorderRow {
    std::string nameId;
    std::string state; // "▼" press, "▲" release
    std::string delay;
};
RecorderRow buildRecorderRow(const MacroAction& action);

} // namespace zq::macros
