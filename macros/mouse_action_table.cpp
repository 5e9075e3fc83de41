#include "macros/mouse_action_table.h"

namespace zq::macros {

std::optional<MacroAction> mouseActionFromRow(std::size_t row, std::uint8_t distance) {
    if (row >= kMouseMacroActionTable.size()) return std::nullopt;
    const MouseActionRow& r = kMouseMacroActionTable[row];
    MacroAction a;
    a.setDelay(kInsertedActionDelay);
    a.type = r.type;
    a.code = row >= kFirstMoveRow ? distance : r.code;
    a.pressed = a.pressBit() ? 1 : 0;
    a.nameId.assign(r.nameId);
    return a;
}

std::optional<std::size_t> recordableMouseRow(std::uint32_t windowMessage) {
    for (std::size_t row = 0; row < kRecordableMouseRows; ++row) {
        if (kMouseMacroActionTable[row].windowMessage == windowMessage) return row;
    }
    return std::nullopt;
}

std::optional<std::size_t> mouseTableRowOf(const MacroAction& action) {
    for (std::size_t row = 0; row < kFirstMoveRow; ++row) {
        const MouseActionRow& r = kMouseMacroActionTable[row];
        if (r.type == action.type && r.code == action.code) return row;
    }
    if (action.hasKind(ActionKind::MoveX)) return action.pressBit() ? 10 : 11;
    if (action.hasKind(ActionKind::MoveY)) return action.pressBit() ? 12 : 13;
    return std::nullopt;
}

} // namespace zq::macros
