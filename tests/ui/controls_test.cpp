// The custom controls: the key button's light, the ring progress, the chart, the palette.
#include "shell/controls/chart_view.h"
#include "shell/controls/circle_progress.h"
#include "shell/controls/colour_palette.h"
#include "shell/controls/device_key_button.h"
#include "ui/page.h"
#include "ui/skin.h"
#include "ui_test_support.h"

#include <QImage>
#include <QPushButton>
#include <gtest/gtest.h>

namespace zq::controls {
namespace {

QImage grabbed(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(DeviceKeyButton, NeverLitPaintsExactlyLikeAPlainButton) {
    QPushButton plain(QStringLiteral("Esc"));
    DeviceKeyButton key;
    key.setText(QStringLiteral("Esc"));
    key.setLightImage(QStringLiteral("no/such.png"));
    key.setKeySetImage(QStringLiteral("no/such.png")); // the mark is off by default
    for (QWidget* w : {static_cast<QWidget*>(&plain), static_cast<QWidget*>(&key)}) w->resize(48, 40);
    EXPECT_EQ(grabbed(key), grabbed(plain));

    key.setLit(true); // the initial light: blue at alpha 200 over the whole key
    const QImage lit = grabbed(key);
    EXPECT_NE(lit, grabbed(plain));
    const QColor centre = lit.pixelColor(24, 5);
    EXPECT_GT(centre.blue(), centre.red() + 100);
    key.setLightAlpha(0); // an invisible light changes nothing
    EXPECT_EQ(grabbed(key), grabbed(plain));
}

TEST(DeviceKeyButton, TheLegendIsDarkOnALightKeyAndLightOnADarkOne) {
    const QColor dark(0x10, 0x12, 0x16), light(0xE6, 0xE9, 0xEF);
    const struct {
        QRgb key;
        QColor legend;
    } cases[] = {{0x000000, light}, {0x0000FF, light}, {0xFF0000, light}, {0x1A1D23, light},
                 {0xFFFFFF, dark},  {0xFFFF00, dark},  {0x00FF00, dark},  {0x00FFFF, dark}};
    for (const auto& c : cases) EXPECT_EQ(legendColourOn(QColor(c.key)), c.legend) << std::hex << c.key;
}

TEST(DeviceKeyButton, TheFacadeLightReachesTheButton) {
    ui::Skin skin(test::testSkinFolder());
    ui::Page page(skin, "XML_MAIN");
    ui::Control key = page.find("ms_dkey_0");
    ASSERT_EQ(key.kind(), "zq::controls::DeviceKeyButton");
    auto* button = qobject_cast<DeviceKeyButton*>(key.widget());
    EXPECT_EQ(button->lightColour(), 0x0000FFu);
    EXPECT_EQ(button->lightAlpha(), 200);
    key.setLight(0x12FF34, 90, true);
    EXPECT_TRUE(button->isLit());
    EXPECT_EQ(button->lightColour(), 0x12FF34u);
    EXPECT_EQ(button->lightAlpha(), 90);
    EXPECT_TRUE(button->styleSheet().isEmpty()); // it paints the light itself
}

TEST(CircleProgress, SweepFollowsTheValue) {
    CircleProgress ring;
    const struct {
        int min, max, value;
        double sweep;
    } cases[] = {{0, 100, 0, 0}, {0, 100, 25, 90}, {0, 100, 100, 360}, {10, 20, 15, 180}, {5, 5, 5, 0}};
    for (const auto& c : cases) {
        ring.setRange(c.min, c.max);
        ring.setValue(c.value);
        EXPECT_DOUBLE_EQ(ring.sweepDegrees(), c.sweep) << c.min << ".." << c.max << " at " << c.value;
    }
}

TEST(CircleProgress, FullValueShowsAWholeForegroundRingAroundAWhiteCentre) {
    CircleProgress ring;
    ring.resize(100, 100);
    ring.setBackgroundColour(0xFF000000);
    ring.setForegroundColour(0xFFFF0000);
    ring.setRange(0, 50);
    ring.setValue(50);
    const QImage image = grabbed(ring);
    for (QPoint ringPoint : {QPoint(50, 4), QPoint(4, 50), QPoint(95, 50), QPoint(50, 95)}) {
        EXPECT_EQ(image.pixelColor(ringPoint), QColor(Qt::red)) << ringPoint.x() << "," << ringPoint.y();
    }
    EXPECT_EQ(image.pixelColor(50, 50), QColor(Qt::white));
}

TEST(ChartView, PieSlicesInPaletteColoursAndBarsInTheirOwnForm) {
    ChartView chart;
    chart.resize(200, 120);
    chart.addItem(QStringLiteral("a"), 1);
    chart.addItem(QStringLiteral("b"), 1);
    chart.addItem(QStringLiteral("neg"), -5); // no share
    QImage pie = grabbed(chart);
    // Clockwise from three o'clock: the first half is the lower half, the second the upper.
    EXPECT_EQ(pie.pixelColor(100, 90).rgba(), ChartView::kPalette[0]);
    EXPECT_EQ(pie.pixelColor(100, 30).rgba(), ChartView::kPalette[1]);
    chart.setView(QStringLiteral("histpgram"));
    EXPECT_FALSE(chart.isPie());
    EXPECT_NE(grabbed(chart), pie);
}

TEST(ColourPalette, KeepsTheColourItWasGiven) {
    ColourPalette palette;
    palette.resize(200, 100);
    for (std::uint32_t c : {0xFF000000u, 0xFFFFFFFFu, 0xFF21B309u, 0xFF0199CBu, 0xFF808080u}) {
        palette.setColour(c);
        EXPECT_EQ(palette.colour(), c);
    }
    palette.setColour(0x00123456); // alpha is not part of a light colour
    EXPECT_EQ(palette.colour(), 0xFF123456u);
}

} // namespace
} // namespace zq::controls
