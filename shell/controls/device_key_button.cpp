#include "shell/controls/device_key_button.h"

#include "shell/controls/control_images.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <qdrawutil.h>

#include <algorithm>

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

QColor legendColourOn(QColor background) {
    // Relative luminance (sRGB primaries, linear enough for a choice between two colours).
    const double luminance =
        0.2126 * background.redF() + 0.7152 * background.greenF() + 0.0722 * background.blueF();
    return luminance > 0.5 ? QColor(0x10, 0x12, 0x16) : QColor(0xE6, 0xE9, 0xEF);
}

namespace {

// The font that fits the legend into the cap with a little room on each side, down to a size still read.
QFont fittedFont(QFont font, const QString& text, int width) {
    const int room = width - 4;
    // The skin gives key legends a pixel size; a font given in points shrinks the same way.
    if (font.pixelSize() > 0) {
        constexpr int kSmallest = 5;
        for (int size = font.pixelSize();
             size > kSmallest && QFontMetricsF(font).horizontalAdvance(text) > room;) {
            font.setPixelSize(--size);
        }
    } else {
        constexpr qreal kSmallest = 5.0;
        for (qreal size = font.pointSizeF();
             size > kSmallest && QFontMetricsF(font).horizontalAdvance(text) > room;) {
            size -= 0.5;
            font.setPointSizeF(size);
        }
    }
    return font;
}

} // namespace

bool DeviceKeyButton::legendFits() const {
    return text().isEmpty() || fontMetrics().horizontalAdvance(text()) <= width() - 4;
}

void DeviceKeyButton::paintEvent(QPaintEvent* event) {
    const bool showLight = lit_ && lightAlpha_ > 0;
    const bool showKeySet = !keySetOff_ && !keySetImage_.isEmpty();
    // An unlit key without a key-set mark whose legend fits is exactly a push button.
    if (!showLight && !showKeySet && legendFits()) {
        QPushButton::paintEvent(event);
        return;
    }

    // The cap without its legend; the legend goes on top of the light, where it stays readable.
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString legend = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    QColor under = palette().color(QPalette::Button);
    if (showLight) {
        const QColor colour(QRgb(0xFF000000u | lightColour_));
        const qreal opacity = lightAlpha_ / 255.0;
        painter.setOpacity(opacity);
        // A key's light keeps its border width however wide the key: its picture is drawn at the key's
        // height with the middle stretched (stretched whole, the space bar's border was four times as
        // thick). A light without a legend (an LED) takes its picture's shape at its own size.
        const bool keyCap = !legend.isEmpty();
        const QImage& light = lightImage_.isEmpty() ? QImage()
                              : keyCap              ? cachedSquare(lightImage_, std::max(1, height()))
                                                    : cached(lightImage_, lightCache_, lightKey_);
        if (!light.isNull()) {
            QImage tinted = light;
            QPainter tint(&tinted);
            tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
            tint.fillRect(tinted.rect(), colour);
            tint.end();
            if (keyCap) {
                const int m = tinted.height() / 3;
                qDrawBorderPixmap(&painter, rect(), QMargins(m, m, m, m), QPixmap::fromImage(tinted),
                                  tinted.rect(), QMargins(m, m, m, m));
            } else {
                painter.drawImage(rect(), tinted);
            }
            // The picture fills the cap with about a fifth of its colour.
            const qreal share = 0.2 * opacity;
            under = QColor::fromRgbF(under.redF() * (1 - share) + colour.redF() * share,
                                     under.greenF() * (1 - share) + colour.greenF() * share,
                                     under.blueF() * (1 - share) + colour.blueF() * share);
        } else {
            // Without a light picture the whole key glows in its colour.
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
            under = colour;
        }
        painter.setOpacity(1.0);
    }
    if (showKeySet) {
        const QImage& mark = cached(keySetImage_, keySetCache_, keySetKey_);
        if (!mark.isNull()) painter.drawImage(rect(), mark);
    }
    if (!legend.isEmpty()) {
        painter.setFont(fittedFont(font(), legend, width()));
        painter.setPen(showLight ? legendColourOn(under) : palette().color(QPalette::ButtonText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, legend);
    }
}

const QImage& DeviceKeyButton::cachedSquare(const QString& reference, int side) const {
    const QString key = reference + QLatin1Char('#') + QString::number(side);
    if (key != squareKey_) {
        squareCache_ = renderSkinImage(skin_, reference, QSize(side, side));
        squareKey_ = key;
    }
    return squareCache_;
}

} // namespace zq::controls
