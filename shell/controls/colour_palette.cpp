#include "shell/controls/colour_palette.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace zq::controls {

ColourPalette::ColourPalette(QWidget* parent) : ui::PaletteWidget(parent) {
    setMinimumSize(60, 40);
    setCursor(Qt::CrossCursor);
}

std::uint32_t ColourPalette::colour() const {
    return rgb_;
}

void ColourPalette::setColour(std::uint32_t argb) {
    // The colour is kept exactly as given; the markers show the nearest place on the field.
    rgb_ = argb | 0xFF000000u;
    const QColor c = QColor::fromRgba(rgb_).toHsv();
    // Greys have no hue: keep the one shown so the marker does not jump to red.
    if (c.hsvHue() >= 0) hue_ = c.hsvHue();
    saturation_ = c.hsvSaturation();
    value_ = c.value();
    update();
}

QRect ColourPalette::fieldRect() const {
    return QRect(0, 0, std::max(1, width() - kStripWidth - kGap), std::max(1, height()));
}
QRect ColourPalette::stripRect() const {
    return QRect(width() - kStripWidth, 0, kStripWidth, std::max(1, height()));
}

QPoint ColourPalette::fieldPoint() const {
    const QRect f = fieldRect();
    const int x = f.left() + static_cast<int>(hue_ / 359.0 * (f.width() - 1) + 0.5);
    const int y = f.top() + static_cast<int>((255 - saturation_) / 255.0 * (f.height() - 1) + 0.5);
    return {x, y};
}

void ColourPalette::resizeEvent(QResizeEvent* event) {
    ui::PaletteWidget::resizeEvent(event);
    field_ = QImage();
}

void ColourPalette::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect f = fieldRect();
    if (field_.size() != f.size()) {
        field_ = QImage(f.size(), QImage::Format_RGB32);
        for (int y = 0; y < f.height(); ++y) {
            const int sat = 255 - y * 255 / std::max(1, f.height() - 1);
            auto* line = reinterpret_cast<QRgb*>(field_.scanLine(y));
            for (int x = 0; x < f.width(); ++x) {
                line[x] = QColor::fromHsv(x * 359 / std::max(1, f.width() - 1), sat, 255).rgb();
            }
        }
    }
    p.drawImage(f.topLeft(), field_);
    // Darken the field by the value so it shows the colours that can actually be picked.
    p.fillRect(f, QColor(0, 0, 0, 255 - value_));

    const QRect s = stripRect();
    QLinearGradient strip(s.topLeft(), s.bottomLeft());
    strip.setColorAt(0, QColor::fromHsv(hue_, saturation_, 255));
    strip.setColorAt(1, Qt::black);
    p.fillRect(s, strip);

    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 2));
    // The field's marker whole even at the field's edges, and seen on light colours as on dark ones.
    const QPoint at(std::clamp(fieldPoint().x(), f.left() + 6, std::max(f.left() + 6, f.right() - 6)),
                    std::clamp(fieldPoint().y(), f.top() + 6, std::max(f.top() + 6, f.bottom() - 6)));
    p.setPen(QPen(QColor(0x10, 0x12, 0x16), 4));
    p.drawEllipse(at, 5, 5);
    p.setPen(QPen(Qt::white, 2));
    p.drawEllipse(at, 5, 5);
    const int vy = s.top() + static_cast<int>((255 - value_) / 255.0 * (s.height() - 1) + 0.5);
    // The value marker stays inside the widget, whole, at both ends of the strip.
    const int top = std::clamp(vy - 2, 1, std::max(1, height() - 5));
    const QRect marker(s.left() + 1, top, s.width() - 2, 4);
    // Dark under light: seen on the white end of the strip as on the black one.
    p.setPen(QPen(QColor(0x10, 0x12, 0x16), 3));
    p.drawRect(marker);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(marker);
}

void ColourPalette::pickAt(QPoint pos) {
    const std::uint32_t before = colour();
    if (drag_ == Drag::Field) {
        const QRect f = fieldRect();
        const int x = std::clamp(pos.x(), f.left(), f.right()) - f.left();
        const int y = std::clamp(pos.y(), f.top(), f.bottom()) - f.top();
        hue_ = x * 359 / std::max(1, f.width() - 1);
        saturation_ = 255 - y * 255 / std::max(1, f.height() - 1);
    } else if (drag_ == Drag::Strip) {
        const QRect s = stripRect();
        const int y = std::clamp(pos.y(), s.top(), s.bottom()) - s.top();
        value_ = 255 - y * 255 / std::max(1, s.height() - 1);
    }
    rgb_ = QColor::fromHsv(hue_, saturation_, value_).rgba();
    update();
    if (colour() != before) emit colourPicked(colour());
}

void ColourPalette::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint pos = event->position().toPoint();
    if (fieldRect().contains(pos))
        drag_ = Drag::Field;
    else if (stripRect().adjusted(-kGap / 2, 0, 0, 0).contains(pos))
        drag_ = Drag::Strip;
    else
        return;
    pickAt(pos);
}

void ColourPalette::mouseMoveEvent(QMouseEvent* event) {
    if (drag_ != Drag::None) pickAt(event->position().toPoint());
}

void ColourPalette::mouseReleaseEvent(QMouseEvent* event) {
    if (drag_ != Drag::None) pickAt(event->position().toPoint());
    drag_ = Drag::None;
}

} // namespace zq::controls
