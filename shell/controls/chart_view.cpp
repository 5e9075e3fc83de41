#include "shell/controls/chart_view.h"

#include "shell/controls/control_images.h"

#include <QPainter>

#include <algorithm>
#include <numeric>

namespace zq::controls {

ChartView::ChartView(QWidget* parent, const ui::Skin* skin) : QWidget(parent), skin_(skin) {}

void ChartView::addItem(const QString& text, double value) {
    // A negative share has no slice or bar to draw.
    items_.push_back({text, std::max(0.0, value)});
    update();
}
void ChartView::clearItems() {
    items_.clear();
    update();
}
void ChartView::setView(const QString& view) {
    view_ = view;
    update();
}
void ChartView::setShowText(bool on) {
    showText_ = on;
    update();
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (isPie())
        paintPie(p);
    else
        paintBars(p);
}

void ChartView::paintPie(QPainter& p) {
    const double sum = std::accumulate(items_.begin(), items_.end(), 0.0,
                                       [](double s, const Item& i) { return s + i.value; });
    const int legend = showText_ ? kLegendWidth : 0;
    const int freeWidth = width() - legend;
    const int diameter = std::min(freeWidth, height()) - 2 * kMargin;
    if (diameter <= 0) return;
    const QRectF pie((freeWidth - diameter) / 2.0, (height() - diameter) / 2.0, diameter, diameter);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba(0x1E1E1E1E));
    p.drawEllipse(pie.adjusted(-4, -4, 4, 4));
    p.setBrush(QColor::fromRgba(0x64646464));
    p.drawEllipse(pie.adjusted(-1, -1, 1, 1));
    if (sum > 0) {
        double start = 0;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            const double sweep = items_[i].value / sum * 360.0;
            p.setBrush(QColor::fromRgba(kPalette[i % kPalette.size()]));
            // Clockwise from three o'clock, one slice after the other.
            p.drawPie(pie, static_cast<int>(-start * 16), static_cast<int>(-sweep * 16));
            start += sweep;
        }
    }
    if (!showText_) return;
    const int rows = static_cast<int>(items_.size());
    int y = (height() - rows * kLegendRow) / 2;
    p.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i < rows; ++i, y += kLegendRow) {
        const QRect swatch(freeWidth, y + (kLegendRow - kLegendSwatch) / 2, kLegendSwatch, kLegendSwatch);
        p.fillRect(swatch, QColor::fromRgba(kPalette[static_cast<std::size_t>(i) % kPalette.size()]));
        p.drawText(QRect(swatch.right() + 4, y, kLegendWidth - kLegendSwatch - 4, kLegendRow),
                   Qt::AlignVCenter | Qt::AlignLeft, items_[static_cast<std::size_t>(i)].text);
    }
}

void ChartView::paintBars(QPainter& p) {
    if (items_.empty()) return;
    const double top = std::max_element(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
                           return a.value < b.value;
                       })->value;
    const int textHeight = showText_ ? fontMetrics().height() + 4 : 0;
    const int shadow = shadowImage_.isEmpty() ? 0 : std::max(shadowImageHeight_, 0);
    const int baseY = height() - kMargin - textHeight - shadow;
    const int usable = baseY - kMargin;
    const int slot = (width() - 2 * kMargin) / static_cast<int>(items_.size());
    if (usable <= 0 || slot <= 0) return;
    const int barWidth =
        pillarImageWidth_ > 0 ? std::min(pillarImageWidth_, slot) : std::max(4, slot * 3 / 5);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const int x = kMargin + static_cast<int>(i) * slot + (slot - barWidth) / 2;
        const int h = top > 0 ? static_cast<int>(items_[i].value / top * usable) : 0;
        const QRect bar(x, baseY - h, barWidth, h);
        const QImage pillar = h > 0 ? renderSkinImage(skin_, pillarImage_, bar.size()) : QImage();
        if (!pillar.isNull())
            p.drawImage(bar, pillar);
        else if (h > 0)
            p.fillRect(bar, QColor::fromRgba(kPalette[i % kPalette.size()]));
        if (shadow > 0) {
            const QRect under(x, baseY, barWidth, shadow);
            const QImage shade = renderSkinImage(skin_, shadowImage_, under.size());
            if (!shade.isNull()) p.drawImage(under, shade);
        }
        if (showText_) {
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(QRect(kMargin + static_cast<int>(i) * slot, baseY + shadow + 2, slot, textHeight),
                       Qt::AlignCenter, items_[i].text);
        }
    }
}

} // namespace zq::controls
