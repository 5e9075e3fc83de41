#pragma once
// The layout's caption bar is the window's title bar: the window asks the window manager for no
// decorations of its own, and a press on the bar (not on its buttons or tabs) moves the window. The
// move is the window manager's own (startSystemMove: X11 and Wayland), so snapping and the keyboard
// shortcuts work as with any title bar; where the platform offers none, the window follows the pointer.
#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

namespace zq::shell {

class CaptionDrag final : public QObject {
public:
    // `window` is the top-level window, `bar` the caption bar inside it.
    CaptionDrag(QWidget* window, QWidget* bar);

    // True while a fallback drag follows the pointer.
    bool dragging() const { return dragging_; }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void watch(QWidget* widget);

    QPointer<QWidget> window_;
    bool dragging_ = false;
    QPoint grabOffset_;
};

} // namespace zq::shell
