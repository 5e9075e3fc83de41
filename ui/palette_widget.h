#pragma once
// The base of colour palette widgets, so the facade can read and set the selected colour and hear
// the user pick one without knowing the concrete control.
#include <QWidget>

#include <cstdint>

namespace zq::ui {

class PaletteWidget : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual std::uint32_t colour() const = 0;
    // Programmatic: never emits colourPicked.
    virtual void setColour(std::uint32_t argb) = 0;

signals:
    // The user picked a colour.
    void colourPicked(quint32 argb);
};

} // namespace zq::ui
