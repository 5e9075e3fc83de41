#include "shell/about_window.h"

#include "shell/page_dialog.h"
#include "ui/page.h"
#include "ui/skin.h"

#include <QDesktopServices>
#include <QDialog>

namespace zq::shell {

namespace {

// The link opens what the layout shows, so the text and the address can never disagree.
QUrl homePage(const ui::Page& page) {
    const ui::Control link = page.find("NetText");
    std::string address = link.userData();
    if (address.empty()) address = link.text();
    return QUrl::fromUserInput(QString::fromStdString(address));
}

} // namespace

PageDialog* openAboutWindow(const ui::Skin& skin, QWidget* mainWindow,
                            std::function<void(const QUrl&)> openLink) {
    if (!openLink) openLink = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    auto* about = new PageDialog(skin, "CopyRight.xml", mainWindow, 2);
    QDialog* window = about->window();
    window->setWindowTitle(QStringLiteral("关于"));
    window->setObjectName(QStringLiteral("UICOPYRIGHT"));
    window->setModal(false);
    window->resize(800, 572);
    about->deleteWhenClosed();
    about->page().setHandler([about, openLink](const ui::Notification& n) {
        if (n.type != ui::notify::kClick) return;
        const std::string name = ui::toLower(n.sender);
        if (name == "closebtn")
            about->done(2);
        else if (name == "nettext")
            openLink(homePage(about->page()));
    });
    about->show();
    return about;
}

} // namespace zq::shell
