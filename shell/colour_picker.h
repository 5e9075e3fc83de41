#pragma once
// The palette dialog behind the pages' colour picker: opened at the cursor, modal.
#include "ui/colour_picker.h"

class QWidget;

namespace zq::ui {
class Skin;
}

namespace zq::shell {

class PaletteColourPicker final : public ui::ColourPicker {
public:
    PaletteColourPicker(const ui::Skin& skin, QWidget* parent) : skin_(skin), parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    std::optional<std::uint32_t> pick(std::uint32_t argb) override;

private:
    const ui::Skin& skin_;
    QWidget* parent_;
};

} // namespace zq::shell
