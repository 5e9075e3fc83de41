#pragma once
// The skin window: a small pop-up under the main window's skin button offering background pictures,
// plain colours, a picture file of the user's own and the reset. Each choice is broadcast at once; only
// the pictures of the layout and the reset are remembered in "main.ini". It closes when it loses the
// focus (a click anywhere else) and deletes itself.
#include "shell/theme.h"
#include "ui/control.h"

namespace zq::ui {
class FileDialogs;
class Skin;
} // namespace zq::ui

class QWidget;

namespace zq::shell {

class PageDialog;

// Opens the window below `anchor`, its right edge at the anchor's right edge.
PageDialog* openSkinWindow(const ui::Skin& skin, QWidget* mainWindow, QWidget* anchor,
                           ui::FileDialogs& dialogs);

// The main window's receiver: the change applied to its "root" control.
void applySkinChange(ui::Control root, const SkinChange& change);

} // namespace zq::shell
