#include "shell/tray_menu.h"

#include "ui/page.h"
#include "ui/skin.h"

#include <QLayout>
#include <QPushButton>

#include <QWidget>

namespace zq::shell {

std::string TrayMenu::exitText(const std::string& languageValue) {
    if (languageValue == "0") return "close";
    if (languageValue == "1") return "关闭";
    return {};
}

TrayMenu::TrayMenu(const ui::Skin& skin, const std::string& languageValue,
                   const std::vector<TrayMenuItem>& extra, Command command) {
    page_ = std::make_unique<ui::Page>(skin, "menu1.xml");
    window_ = page_->root();
    if (!window_) return;
    auto add = [this](const std::string& name, const std::string& text) {
        auto* item = new QPushButton(QString::fromStdString(text), window_);
        item->setObjectName(QString::fromStdString(name));
        item->setFocusPolicy(Qt::NoFocus);
        if (window_->layout()) window_->layout()->addWidget(item);
        page_->adopt(item); // a named control of the page, like the layout's own items
    };
    for (const auto& e : extra) add(e.name, e.text);
    add("exit", exitText(languageValue));
    window_->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    window_->adjustSize();
    page_->setHandler([this, command](const ui::Notification& n) {
        if (n.type != ui::notify::kClick) return;
        const std::string text = page_->senderOf(n).text();
        if (window_) window_->hide();
        command(n.sender, text);
    });
}

TrayMenu::~TrayMenu() = default;

void TrayMenu::popup(QPoint at) {
    if (!window_) return;
    window_->move(at.x(), at.y() - window_->height());
    window_->show();
}

bool TrayMenu::isOpen() const {
    return window_ && window_->isVisible();
}

} // namespace zq::shell
