#pragma once
// The colour dialog: the palette, a preview button, thirty preset swatches, OK and cancel. Starts
// from the opener's colour; OK → 1 with the chosen colour, anything else → 2.
#include "shell/page_dialog.h"

#include <cstdint>
#include <optional>
#include <string_view>

class QPoint;

namespace zq::shell {

class PaletteDialog {
public:
    static constexpr int kOk = 1;
    static constexpr int kCancelled = 2;

    PaletteDialog(const ui::Skin& skin, std::uint32_t initialColour, QWidget* parent);

    // Places the window 20 pixels left of and below the given point (the pointer), kept on screen.
    void placeNear(const QPoint& pointer);
    int exec();
    std::uint32_t chosenColour() const { return chosen_; }
    PageDialog& dialog() { return dialog_; }

    // The swatch number in a name "ms_dpi_color_png_<n>", when it is a valid swatch.
    static std::optional<std::size_t> swatchIndex(std::string_view name);

private:
    void onNotify(const ui::Notification& n);
    void show(std::uint32_t argb);
    PageDialog dialog_;
    std::uint32_t chosen_;
};

// Opens the dialog at the pointer for a page's colour button; the new colour, or nullopt on cancel.
std::optional<std::uint32_t> pickColour(const ui::Skin& skin, QWidget* parent, std::uint32_t current);

} // namespace zq::shell
