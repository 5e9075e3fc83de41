#include "shell/palette_dialog.h"

#include "platform/debug.h"
#include "settings/preset_colours.h"
#include "ui/skin.h"

#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

#include <charconv>

namespace zq::shell {

namespace {
constexpr std::string_view kSwatchPrefix = "ms_dpi_color_png_";
}

PaletteDialog::PaletteDialog(const ui::Skin& skin, std::uint32_t initialColour, QWidget* parent)
    : dialog_(skin, "GmPalletDialog.xml", parent, kCancelled), chosen_(initialColour) {
    if (QDialog* w = dialog_.window()) w->setObjectName(QStringLiteral("UIPalletDialog"));
    ui::Page& page = dialog_.page();
    page.palette("Pallet").setColour(initialColour);
    ui::Control preview = page.find("color_show_btn");
    preview.setBkImage("");
    preview.setBkColor(initialColour);
    page.setHandler([this](const ui::Notification& n) { onNotify(n); });
}

std::optional<std::size_t> PaletteDialog::swatchIndex(std::string_view name) {
    const std::string lower = ui::toLower(name);
    if (lower.size() <= kSwatchPrefix.size() || lower.compare(0, kSwatchPrefix.size(), kSwatchPrefix) != 0) {
        return std::nullopt;
    }
    const char* first = lower.data() + kSwatchPrefix.size();
    const char* last = lower.data() + lower.size();
    long n = -1;
    const auto [end, ec] = std::from_chars(first, last, n);
    if (ec != std::errc() || end != last) return std::nullopt;
    // Only the swatches the table has; a layout with a stray number must not read past it.
    if (!settings::presetColour(n)) return std::nullopt;
    return static_cast<std::size_t>(n);
}

void PaletteDialog::show(std::uint32_t argb) {
    ui::Page& page = dialog_.page();
    page.find("color_show_btn").setBkColor(argb);
    page.palette("Pallet").setColour(argb);
}

void PaletteDialog::onNotify(const ui::Notification& n) {
    ui::Page& page = dialog_.page();
    const std::string name = ui::toLower(n.sender);
    if (n.type == ui::notify::kColorChanged) {
        if (name == "pallet") show(page.palette("Pallet").colour());
        return;
    }
    if (n.type != ui::notify::kClick) return;
    if (auto swatch = swatchIndex(name)) {
        platform::debugString("hongse");
        show(settings::kPresetColours[*swatch]);
    } else if (name == "okbtn" || name == "pallet_btn_ok") {
        if (page.find("Pallet").exists()) {
            const ui::Control preview = page.find("color_show_btn");
            chosen_ = preview.exists() ? preview.bkColor() : 0;
            dialog_.done(kOk);
        } else {
            dialog_.done(kCancelled);
        }
    } else if (name == "closebtn" || name == "pallet_btn_cancel") {
        dialog_.done(kCancelled);
    }
}

void PaletteDialog::placeNear(const QPoint& pointer) {
    QDialog* w = dialog_.window();
    if (!w) return;
    QPoint topLeft = pointer + QPoint(-20, 20);
    if (QScreen* screen = QGuiApplication::screenAt(pointer)) {
        const QRect area = screen->availableGeometry();
        topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() - w->width())));
        topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() - w->height())));
    }
    w->move(topLeft);
}

int PaletteDialog::exec() {
    return dialog_.exec();
}

std::optional<std::uint32_t> pickColour(const ui::Skin& skin, QWidget* parent, std::uint32_t current) {
    PaletteDialog dialog(skin, current, parent);
    dialog.placeNear(QCursor::pos());
    if (dialog.exec() != PaletteDialog::kOk) return std::nullopt;
    return dialog.chosenColour();
}

} // namespace zq::shell
