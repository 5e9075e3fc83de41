#pragma once
// Text of a widget whatever its class: label, button, edit, group box, or window title.
#include <QString>

class QWidget;

namespace zq::ui {

void setWidgetText(QWidget* w, const QString& text);
QString widgetText(const QWidget* w);
QString argbToCss(quint32 argb);

} // namespace zq::ui
