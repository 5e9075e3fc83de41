#include "shell/message_box.h"

#include "ui/skin.h"

#include <QDialog>

namespace zq::shell {

MessageBox::MessageBox(const ui::Skin& skin, QWidget* parent, const ui::MessageRequest& request)
    : dialog_(skin, "XML_MSG", parent, 0), transient_(request.transient) {
    ui::Page& page = dialog_.page();
    if (QDialog* w = dialog_.window()) {
        w->setWindowTitle(QStringLiteral("msgwnd"));
        w->setObjectName(QStringLiteral("MsgWnd"));
        w->setWindowFlag(Qt::Tool, true);
    }
    if (request.isTextId)
        page.find("MessageText").setTextId(request.text);
    else
        page.find("MessageText").setText(request.text);
    page.setHandler([this](const ui::Notification& n) { onNotify(n); });
    timer_.setSingleShot(true);
    timer_.setInterval(kTransientMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { fireTransientTimer(); });
}

void MessageBox::onNotify(const ui::Notification& n) {
    if (n.type != ui::notify::kClick) return;
    const std::string name = ui::toLower(n.sender);
    if (name == "closebtn" || name == "cancel_btn")
        dialog_.done(0);
    else if (name == "confirm_btn")
        dialog_.done(1);
}

void MessageBox::fireTransientTimer() {
    timer_.stop();
    dialog_.done(0);
}

int MessageBox::exec() {
    if (transient_) timer_.start();
    const int result = dialog_.exec();
    timer_.stop();
    return result;
}

int SkinMessagePresenter::show(const ui::MessageRequest& request) {
    MessageBox box(skin_, parent_, request);
    return box.exec();
}

} // namespace zq::shell
