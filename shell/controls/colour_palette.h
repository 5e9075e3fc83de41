#pragma once
// The colour palette: a hue × saturation field with a value strip beside it. Picking in either one
// sets the selected colour and tells the page ("colorchanged").
#include "ui/palette_widget.h"

namespace zq::controls {

class ColourPalette : public ui::PaletteWidget {
    Q_OBJECT
public:
    static constexpr int kStripWidth = 18;
    static constexpr int kGap = 8;

    explicit ColourPalette(QWidget* parent = nullptr);

    std::uint32_t colour() const override;
    void setColour(std::uint32_t argb) override;

    // Geometry of the two parts, for painting and for picking (and tests).
    QRect fieldRect() const;
    QRect stripRect() const;
    // The point of the field that shows the current hue and saturation.
    QPoint fieldPoint() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class Drag { None, Field, Strip };
    void pickAt(QPoint pos);

    std::uint32_t rgb_ = 0xFFFFFFFF;
    int hue_ = 0;        // 0..359
    int saturation_ = 0; // 0..255
    int value_ = 255;    // 0..255
    Drag drag_ = Drag::None;
    QImage field_; // the hue × saturation picture at full value, redrawn on resize
};

} // namespace zq::controls
