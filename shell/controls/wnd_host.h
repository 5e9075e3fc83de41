#pragma once
// Hosts a window of its own (a native window by id, or a top-level widget) inside the layout: the
// hosted window follows the control's place, size and visibility.
#include <QPointer>
#include <QWidget>

class QWindow;

namespace zq::controls {

class WndHost : public QWidget {
    Q_OBJECT
public:
    explicit WndHost(QWidget* parent = nullptr);
    ~WndHost() override;

    // Embeds a foreign native window. Returns false when the platform cannot wrap the id.
    bool hostNativeWindow(WId id);
    // Embeds a widget that was a window of its own; the host takes it over.
    void hostWidget(QWidget* widget);
    QWidget* hosted() const { return hosted_; }
    void release();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<QWidget> hosted_;
};

} // namespace zq::controls
