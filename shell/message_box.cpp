#include "shell/message_box.h"

#include "ui/skin.h"

#include <QDialog>
#include <QFontMetrics>
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

// The width a text of several lines asks for: its longest line that can stand on one line of a box that
// fits a small screen. Such a text says where its lines break (the device-rule commands stand one to a
// line), and a line the box can hold is kept whole, since Qt would otherwise break a command after a "/"
// or a "-". Longer lines, and a text of one paragraph, wrap at whatever width the box has.
int MessageBox::wholeLineWidth(const QFontMetrics& metrics, const QString& text) {
    if (!text.contains(QLatin1Char('\n'))) return 0;
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const int width = metrics.horizontalAdvance(line.trimmed()) + 2;
        if (width <= kMaxTextWidth) widest = std::max(widest, width);
    }
    return widest;
}

// The layout holds four lines of about 290 pixels. A text with a longer line it must keep whole makes
// the box wider; a text of more lines makes it taller rather than being cut off, up to what fits a small
// screen.
void MessageBox::fitText() {
    constexpr int kMaxTextHeight = 360;
    ui::Page& page = dialog_.page();
    auto* label = qobject_cast<QLabel*>(page.find("MessageText").widget());
    QDialog* window = dialog_.window();
    if (!label || !window) return;
    QWidget* root = label->parentWidget();
    label->ensurePolished();
    // The text can be selected and copied: the device-rule message holds commands to run.
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    const int wider = wholeLineWidth(label->fontMetrics(), label->text()) - label->width();
    if (wider > 0) {
        label->resize(label->width() + wider, label->height());
        for (const char* right : {"cancel_btn", "confirm_btn", "closebtn"})
            if (QWidget* w = page.find(right).widget()) w->move(w->x() + wider, w->y());
        // The caption bar behind the title and the close button spans the box.
        if (QWidget* close = page.find("closebtn").widget(); close && close->parentWidget() != root)
            close->parentWidget()->resize(close->parentWidget()->width() + wider,
                                          close->parentWidget()->height());
        if (root && root != window) root->resize(root->width() + wider, root->height());
        window->resize(window->width() + wider, window->height());
    }

    const int needed = std::min(kMaxTextHeight, label->heightForWidth(label->width()));
    const int grow = needed - label->height();
    if (grow <= 0) return;
    label->resize(label->width(), needed);
    for (const char* below : {"cancel_btn", "confirm_btn"})
        if (QWidget* w = page.find(below).widget()) w->move(w->x(), w->y() + grow);
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
