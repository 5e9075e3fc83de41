#include "shell/controls/device_key_button.h"

#include "shell/controls/control_images.h"

#include <QPainter>

namespace zq::controls {

DeviceKeyButton::DeviceKeyButton(QWidget* parent, const ui::Skin* skin) : QPushButton(parent), skin_(skin) {}

void DeviceKeyButton::setLightImage(const QString& image) {
    lightImage_ = image;
    update();
}
void DeviceKeyButton::setKeySetImage(const QString& image) {
    keySetImage_ = image;
    update();
}
void DeviceKeyButton::setLightColour(uint rgb) {
    lightColour_ = rgb & 0xFFFFFF;
    if (lit_) update();
}
void DeviceKeyButton::setLightAlpha(int alpha) {
    lightAlpha_ = std::clamp(alpha, 0, 255);
    if (lit_) update();
}
void DeviceKeyButton::setLit(bool lit) {
    if (lit_ == lit) return;
    lit_ = lit;
    update();
}
void DeviceKeyButton::setKeySetOff(bool off) {
    if (keySetOff_ == off) return;
    keySetOff_ = off;
    update();
}

const QImage& DeviceKeyButton::cached(const QString& reference, QImage& cache, QString& cacheKey) const {
    const QString key =
        reference + QLatin1Char('@') + QString::number(width()) + 'x' + QString::number(height());
    if (key != cacheKey) {
        cache = renderSkinImage(skin_, reference, size());
        cacheKey = key;
    }
    return cache;
}

void DeviceKeyButton::paintEvent(QPaintEvent* event) {
    // The button's own look first: an unlit key without a key-set mark is exactly a push button.
    QPushButton::paintEvent(event);
    const bool showLight = lit_ && lightAlpha_ > 0;
    const bool showKeySet = !keySetOff_ && !keySetImage_.isEmpty();
    if (!showLight && !showKeySet) return;

    QPainter painter(this);
    if (showLight) {
        const QColor colour(QRgb(0xFF000000u | lightColour_));
        const QImage& light = cached(lightImage_, lightCache_, lightKey_);
        painter.setOpacity(lightAlpha_ / 255.0);
        if (!light.isNull()) {
            // Keep the picture's shape, take the light's colour.
            QImage tinted = light;
            QPainter tint(&tinted);
            tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
            tint.fillRect(tinted.rect(), colour);
            tint.end();
            painter.drawImage(rect(), tinted);
        } else {
            // Without a light picture the whole key glows in its colour.
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
        }
        painter.setOpacity(1.0);
    }
    if (showKeySet) {
        const QImage& mark = cached(keySetImage_, keySetCache_, keySetKey_);
        if (!mark.isNull()) painter.drawImage(rect(), mark);
    }
}

} // namespace zq::controls
