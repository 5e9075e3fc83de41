#pragma once
// Pictures of the custom controls, resolved through the skin and rendered at the size they are drawn,
// so SVG pictures stay sharp.
#include <QImage>
#include <QSize>
#include <QString>

namespace zq::ui {
class Skin;
}

namespace zq::controls {

// An image reference as a layout gives it → the picture at the given size (null when it names nothing).
// Without a skin only a path to an existing file names something.
QImage renderSkinImage(const ui::Skin* skin, const QString& reference, QSize size);

} // namespace zq::controls
