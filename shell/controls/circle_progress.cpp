#include "shell/controls/circle_progress.h"

#include <QPainter>

namespace zq::controls {

CircleProgress::CircleProgress(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
}

void CircleProgress::setBackgroundColour(uint argb) {
    background_ = argb;
    update();
}
void CircleProgress::setForegroundColour(uint argb) {
    foreground_ = argb;
    update();
}

double CircleProgress::sweepDegrees() const {
    const int range = maximum() - minimum();
    // An empty range has no progress to show (and must not divide by zero).
    if (range <= 0) return 0.0;
    const double done = static_cast<double>(value() - minimum()) / range;
    return std::clamp(done, 0.0, 1.0) * 360.0;
}

void CircleProgress::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRectF whole(rect());
    p.setBrush(QColor::fromRgba(background_));
    p.drawEllipse(whole);
    const double sweep = sweepDegrees();
    if (sweep > 0) {
        p.setBrush(QColor::fromRgba(foreground_));
        // Qt turns counter-clockwise from three o'clock: start at six o'clock and sweep clockwise.
        p.drawPie(whole, -90 * 16, -static_cast<int>(sweep * 16));
    }
    p.setBrush(Qt::white);
    p.drawEllipse(whole.adjusted(kCentreInset, kCentreInset, -kCentreInset, -kCentreInset));
}

} // namespace zq::controls
