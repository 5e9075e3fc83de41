#pragma once
// The about window: the "CopyRight.xml" layout, a link to the home page, a close button. Modeless;
// each call opens a new one that deletes itself when closed.
#include <QUrl>

#include <functional>

class QWidget;

namespace zq::ui {
class Skin;
}

namespace zq::shell {

class PageDialog;

// openLink opens the address "NetText" shows (its user data, else its text, as a web address); the default
// opens it in the desktop's web browser. The returned window lives until it is closed.
PageDialog* openAboutWindow(const ui::Skin& skin, QWidget* mainWindow,
                            std::function<void(const QUrl&)> openLink = {});

} // namespace zq::shell
