#include "shell/controls/control_images.h"

#include "ui/skin.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

namespace zq::controls {

QImage renderSkinImage(const ui::Skin* skin, const QString& reference, QSize size) {
    if (reference.isEmpty() || size.isEmpty()) return {};
    QString path;
    if (skin) path = QString::fromStdString(skin->resolveImage(reference.toStdString()));
    if (path.isEmpty() && QFileInfo::exists(reference)) path = reference;
    if (path.isEmpty()) return {};
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgRenderer renderer(path);
        if (!renderer.isValid()) return {};
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        renderer.render(&p);
        return image;
    }
    QImage image(path);
    if (image.isNull()) return {};
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
        .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace zq::controls
