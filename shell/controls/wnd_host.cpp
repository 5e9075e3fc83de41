#include "shell/controls/wnd_host.h"

#include <QWindow>

namespace zq::controls {

WndHost::WndHost(QWidget* parent) : QWidget(parent) {}
WndHost::~WndHost() = default;

bool WndHost::hostNativeWindow(WId id) {
    QWindow* foreign = QWindow::fromWinId(id);
    if (!foreign) return false;
    hostWidget(QWidget::createWindowContainer(foreign, this));
    return true;
}

void WndHost::hostWidget(QWidget* widget) {
    release();
    if (!widget) return;
    hosted_ = widget;
    // A child follows its parent's visibility by itself; only the place and size need keeping.
    widget->setParent(this);
    widget->setWindowFlags(Qt::Widget);
    widget->setGeometry(rect());
    widget->setVisible(true);
}

void WndHost::release() {
    if (hosted_) {
        hosted_->hide();
        hosted_->setParent(nullptr);
    }
    hosted_ = nullptr;
}

void WndHost::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (hosted_) hosted_->setGeometry(rect());
}

} // namespace zq::controls
