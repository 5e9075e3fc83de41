#include "macros/action_row.h"

namespace zq::macros {

ActionRow buildActionRow(const MacroAction& action) {
    ActionRow row;
    row.name.text = action.nameId;
    row.name.style = action.kindBits() < static_cast<std::uint8_t>(ActionKind::ModifierKey)
                         ? "macro_label_mouse_style"
                         : "macro_label_keyboard_style";
    if (action.isMove()) {
        row.state = {std::to_string(action.code), "macro_label_text_style"};
    } else {
        row.state = {{}, action.pressed != 0 ? "macro_label_down_style" : "macro_label_up_style"};
    }
    row.delay = {std::to_string(action.delay()), "macro_label_text_style"};
    return row;
}

RecorderRow buildRecorderRow(const MacroAction& action) {
    return {action.nameId, action.pressed != 0 ? "\u25BC" : "\u25B2", std::to_string(action.delay())};
}

} // namespace zq::macros
