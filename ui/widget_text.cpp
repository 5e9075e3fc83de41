#include "ui/widget_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace zq::ui {

void setWidgetToolTip(QWidget* w, const QString& tip) {
    w->setToolTip(tip);
    auto* b = qobject_cast<QAbstractButton*>(w);
    if (!b) return;
    const QString shown = b->text().trimmed();
    bool symbol = true;
    for (QChar c : shown)
        if (c.isLetterOrNumber()) symbol = false;
    if (symbol) b->setAccessibleName(tip);
}

void setWidgetText(QWidget* w, const QString& text) {
    if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(text);
    else if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(text);
    else if (auto* t = qobject_cast<QTextEdit*>(w))
        t->setPlainText(text);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        p->setPlainText(text);
    else if (auto* c = qobject_cast<QComboBox*>(w); c && c->isEditable())
        c->setEditText(text);
    else if (w)
        w->setWindowTitle(text);
}

QString widgetText(const QWidget* w) {
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
    if (auto* t = qobject_cast<const QTextEdit*>(w)) return t->toPlainText();
    if (auto* p = qobject_cast<const QPlainTextEdit*>(w)) return p->toPlainText();
    if (auto* c = qobject_cast<const QComboBox*>(w)) return c->currentText();
    return w ? w->windowTitle() : QString();
}

QString argbToCss(quint32 argb) {
    return QStringLiteral("rgba(%1,%2,%3,%4)")
        .arg((argb >> 16) & 0xFF)
        .arg((argb >> 8) & 0xFF)
        .arg(argb & 0xFF)
        .arg((argb >> 24) & 0xFF);
}

} // namespace zq::ui
