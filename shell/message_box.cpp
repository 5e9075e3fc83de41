#include "shell/message_box.h"

#include "ui/skin.h"

#include <QDialog>
#include <QLabel>

#include <algorithm>

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
    // A notice has nothing to cancel: its one button is the confirm button, where it stands.
    page.find("cancel_btn").setVisible(request.question);
    fitText();
    page.setHandler([this](const ui::Notification& n) { onNotify(n); });
    timer_.setSingleShot(true);
    timer_.setInterval(kTransientMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { fireTransientTimer(); });
}

// The layout holds four lines; a longer text (the device-rule commands, a long file name) makes the box
// taller rather than being cut off, up to what fits a small screen.
void MessageBox::fitText() {
    constexpr int kMaxTextHeight = 360;
    QWidget* text = dialog_.page().find("MessageText").widget();
    auto* label = qobject_cast<QLabel*>(text);
    QDialog* window = dialog_.window();
    if (!label || !window) return;
    const int needed = std::min(kMaxTextHeight, label->heightForWidth(label->width()));
    const int grow = needed - label->height();
    if (grow <= 0) return;
    label->resize(label->width(), needed);
    for (const char* below : {"cancel_btn", "confirm_btn"})
        if (QWidget* w = dialog_.page().find(below).widget()) w->move(w->x(), w->y() + grow);
    QWidget* root = label->parentWidget();
    if (root && root != window) root->resize(root->width(), root->height() + grow);
    window->resize(window->width(), window->height() + grow);
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
