#pragma once
// "ui ...": the program's controls driven by name, through the very notification path a user's action
// takes, so a script sees what the user would. Each command returns after the page's handler has run.
//
//   ui click NAME            as if clicked (a button clicks; any other control raises "click")
//   ui select NAME INDEX     a list or combo moves to the item ("itemselect" when it changes)
//   ui check NAME on|off     an option or check box ("selectchanged" when it changes)
//   ui slide NAME VALUE      a slider settles on the value ("valuechanged")
//   ui type NAME TEXT        an edit takes the text ("textchanged"), then loses focus ("killfocus")
//   ui get NAME              {"exists","visible","enabled","text","value","current","selected","count",
//                             "items"}; fields that do not apply to the control are null (items: [])
//   ui messages              {"messages":[...]}: message boxes shown since the last call
//   ui answer ok|cancel|PATH the answer of the next message box or file dialog (AutomationDialogs)
//   ui key VK [up] [ext]     a key (virtual-key code, 0x.. or decimal) pressed, or released with "up",
//                            "ext" marking an extended key (keypad Enter is "ui key 0x0D ext"), as the
//                            running key capture or macro recording would see it
//   ui mouse BUTTON down|up  left|right|middle|back|forward pressed or released, for macro recording
//
// A control the user could not act on (disabled, a read-only edit, a value out of its range) is refused
// with an error, and nothing is raised. "visible" is whether the control shows when its window shows.
// A key or button while no capture listens is refused likewise.
#include "shell/control/automation_dialogs.h"
#include "shell/control/command_table.h"

#include <functional>
#include <vector>

namespace zq::ui {
class Page;
}
namespace zq::platform {
class InjectedInputHooks;
}

namespace zq::control {

// The pages a name is looked up in, first match wins: the main window's page first, then any dialog
// page that is open.
using PageSource = std::function<std::vector<ui::Page*>()>;

// `hooks` is the capture keys and buttons are fed to ("ui key", "ui mouse"); without it they are refused.
Reply runUiCommand(const PageSource& pages, AutomationDialogs& dialogs, const CommandTable::Args& args,
                   platform::InjectedInputHooks* hooks = nullptr);
// Registers "ui" (gated to --simulate or ZQ70_AUTOMATION=1). The pages, dialogs and hooks must outlive the
// table.
void registerUiCommands(CommandTable& table, PageSource pages, AutomationDialogs& dialogs,
                        platform::InjectedInputHooks* hooks = nullptr);
void registerUiCommands(CommandTable& table, ui::Page& page, AutomationDialogs& dialogs,
                        platform::InjectedInputHooks* hooks = nullptr);

} // namespace zq::control
