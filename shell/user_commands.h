#pragma once
// The commands of zq70ctl a user scripts the program with. Each goes through the notification a click
// or a selection raises, so files, pages and devices change exactly as through the window.
namespace zq::control {
class CommandTable;
}

namespace zq::shell {

class CommandDialogs;
class MainWindow;
class PageWiring;
class SaveToDevice;

void registerUserCommands(control::CommandTable& table, MainWindow& window, SaveToDevice& saveToDevice,
                          PageWiring& pages, CommandDialogs& dialogs);

} // namespace zq::shell
