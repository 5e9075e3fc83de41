#include "shell/caption_drag.h"

#include <QAbstractButton>
#include <QEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace zq::shell {

CaptionDrag::CaptionDrag(QWidget* window, QWidget* bar) : QObject(window), window_(window) {
    if (!window || !bar) return;
    window->setWindowFlag(Qt::FramelessWindowHint, true);
    watch(bar);
    // The bar's pictures and titles move the window too; its buttons and tabs keep their clicks.
    for (QWidget* child : bar->findChildren<QWidget*>())
        if (!qobject_cast<QAbstractButton*>(child)) watch(child);
}

void CaptionDrag::watch(QWidget* widget) {
    widget->installEventFilter(this);
}

bool CaptionDrag::eventFilter(QObject*, QEvent* event) {
    if (!window_) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() != Qt::LeftButton) return false;
        QWindow* handle = window_->windowHandle();
        if (handle && handle->startSystemMove()) return true;
        dragging_ = true;
        grabOffset_ = press->globalPosition().toPoint() - window_->frameGeometry().topLeft();
        return true;
    }
    case QEvent::MouseMove:
        if (!dragging_) return false;
        window_->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - grabOffset_);
        return true;
    case QEvent::MouseButtonRelease:
        if (!dragging_) return false;
        dragging_ = false;
        return true;
    default:
        return false;
    }
}

} // namespace zq::shell
