#include "shell/colour_picker.h"

#include "shell/palette_dialog.h"

#include <QDialog>

namespace zq::shell {

std::optional<std::uint32_t> PaletteColourPicker::pick(std::uint32_t argb) {
    return pickColour(skin_, parent_, argb);
}

} // namespace zq::shell
