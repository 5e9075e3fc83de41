#include "macros/keyboard_action.h"

#include "settings/key_code_table.h"

namespace zq::macros {

std::size_t macroKeyRowCount() {
    return settings::kFirstConsumerRow;
}

std::optional<MacroAction> keyboardActionFromRow(std::size_t row, bool press) {
    if (row >= macroKeyRowCount()) return std::nullopt;
    const settings::KeyCodeRow& r = settings::kKeyCodeTable[row];
    const bool isKey = r.p2 != 0;
    MacroAction a;
    a.type = static_cast<std::uint8_t>(
        static_cast<std::uint8_t>(isKey ? ActionKind::Key : ActionKind::ModifierKey) |
        (press ? kPressBit : 0));
    a.code = isKey ? r.p2 : r.p1;
    a.pressed = press ? 1 : 0;
    a.nameId.assign(r.name);
    return a;
}

std::optional<std::size_t> keyRowOf(const MacroAction& action) {
    const bool isKey = action.hasKind(ActionKind::Key);
    if (!isKey && !action.hasKind(ActionKind::ModifierKey)) return std::nullopt;
    for (std::size_t row = 0; row < macroKeyRowCount(); ++row) {
        const settings::KeyCodeRow& r = settings::kKeyCodeTable[row];
        if ((isKey ? r.p2 : r.p1) == action.code) return row;
    }
    return std::nullopt;
}

std::optional<MacroAction> recordedKeyAction(std::uint16_t virtualKey, std::uint32_t hookFlags, bool press) {
    const auto row = settings::captureKeyRow(virtualKey, hookFlags);
    if (!row || *row >= macroKeyRowCount()) return std::nullopt;
    return keyboardActionFromRow(*row, press);
}

} // namespace zq::macros
