#include "shell/skin_window.h"

#include "shell/page_dialog.h"
#include "ui/file_dialogs.h"
#include "ui/page.h"
#include "ui/skin.h"

#include <QDialog>
#include <QWidget>

namespace zq::shell {

void applySkinChange(ui::Control root, const SkinChange& change) {
    if (change.useColour) {
        root.setBkColor(change.colour);
        root.setBkImage("");
    } else {
        root.setBkColor(0);
        root.setBkImage(change.picture);
    }
}

PageDialog* openSkinWindow(const ui::Skin& skin, QWidget* mainWindow, QWidget* anchor,
                           ui::FileDialogs& dialogs) {
    auto* window = new PageDialog(skin, "skin.xml", mainWindow, 0);
    QDialog* w = window->window();
    w->setObjectName(QStringLiteral("UISkinFrame"));
    // A pop-up closes itself on a click outside it, which is losing the focus for a window like this.
    w->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    w->setModal(false);
    window->deleteWhenClosed();
    ui::Page& page = window->page();
    page.setHandler([window, &page, &dialogs](const ui::Notification& n) {
        if (n.type != ui::notify::kClick) return;
        const std::string name = ui::toLower(n.sender);
        auto& broadcaster = ThemeBroadcaster::instance();
        if (name == "skin_image_btn") {
            const std::string picture = page.senderOf(n).userData();
            broadcaster.broadcast({false, 0, picture});
            rememberPicture(picture);
        } else if (name == "skin_color_btn") {
            broadcaster.broadcast({true, page.senderOf(n).bkColor(), {}});
        } else if (name == "skin_color") {
            page.tabs("skin_tab").selectPage(1);
        } else if (name == "skin_image") {
            page.tabs("skin_tab").selectPage(0);
        } else if (name == "skin_reset") {
            broadcaster.broadcast({false, 0, kDefaultBackground});
            rememberReset();
        } else if (name == "skin_custom") {
            // The dialog takes the focus: keep the pop-up from closing under it by hiding it first.
            window->window()->hide();
            const auto path = dialogs.openFile({"", "(*.png) | *.png |(*.*)|*.*||", "png", "*.png", ""});
            if (path) broadcaster.broadcast({false, 0, *path});
            window->done(0);
        }
    });
    if (anchor) {
        const QPoint bottomRight = anchor->mapToGlobal(QPoint(anchor->width(), anchor->height()));
        w->adjustSize();
        w->move(bottomRight.x() - w->width(), bottomRight.y());
    }
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    window->show();
    return window;
}

} // namespace zq::shell
