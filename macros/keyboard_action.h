#pragma once
// Keyboard actions of a macro come from the keyboard rows of the key code table (the 104 rows from
// LCtrl to App; the row index is also the item of the editor's key combo): a row with a key usage
// gives a key action (kind 10, code = usage), a modifier row a modifier action (kind 9, code = its bit).
#include <cstddef>
#include <cstdint>
#include <optional>

#include "macros/macro_action.h"

namespace zq::macros {

// The rows of the key code table a macro can hold.
std::size_t macroKeyRowCount();

// The action of key row `row`, pressed or released, with no delay. Rows past the keyboard rows give
// nullopt.
std::optional<MacroAction> keyboardActionFromRow(std::size_t row, bool press);

// The key row that shows a keyboard action in the editor: the first row whose usage (kind 10) or
// modifier bit (kind 9) equals the action's code. Other kinds give nullopt.
std::optional<std::size_t> keyRowOf(const MacroAction& action);

// What the recorder makes of a key event: the key's virtual-key code (Enter with the extended-key flag
// counts as keypad Enter) looked up among the keyboard rows. Keys outside the table give nullopt.
std::optional<MacroAction> recordedKeyAction(std::uint16_t virtualKey, std::uint32_t hookFlags, bool press);

} // namespace zq::macros
