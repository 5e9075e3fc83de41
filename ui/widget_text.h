#pragma once
// Text of a widget whatever its class: label, button, edit, group box, or window title.
#include <QString>

class QWidget;

namespace zq::ui {

void setWidgetText(QWidget* w, const QString& text);
QString widgetText(const QWidget* w);
// The tooltip; a button that shows a symbol instead of a word (✎, +, ✕ ...) is also named by it for
// screen readers.
void setWidgetToolTip(QWidget* w, const QString& tip);
QString argbToCss(quint32 argb);

} // namespace zq::ui
