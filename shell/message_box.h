#pragma once
// The one message box of the program: the "XML_MSG" layout with a text by id (or a ready text),
// confirm → 1, cancel or close → 0. The transient variant closes itself after half a second.
#include "shell/page_dialog.h"
#include "ui/message_presenter.h"

#include <QFontMetrics>
#include <QString>
#include <QTimer>

namespace zq::shell {

class MessageBox {
public:
    static constexpr int kTransientMs = 500;
    // The widest the text may make the box's text column.
    static constexpr int kMaxTextWidth = 600;

    MessageBox(const ui::Skin& skin, QWidget* parent, const ui::MessageRequest& request);
    int exec();

    PageDialog& dialog() { return dialog_; }
    // The transient close timer, so tests can check it and fire it without waiting.
    const QTimer& transientTimer() const { return timer_; }
    void fireTransientTimer();

private:
    void onNotify(const ui::Notification& n);
    void fitText();
    static int wholeLineWidth(const QFontMetrics& metrics, const QString& text);
    PageDialog dialog_;
    QTimer timer_;
    bool transient_;
};

// The real MessagePresenter: every message through the skin's message box.
class SkinMessagePresenter final : public ui::MessagePresenter {
public:
    SkinMessagePresenter(const ui::Skin& skin, QWidget* parent) : skin_(skin), parent_(parent) {}
    int show(const ui::MessageRequest& request) override;

private:
    const ui::Skin& skin_;
    QWidget* parent_;
};

} // namespace zq::shell
