#include "settings/pages/button_editor.h"

namespace zq::settings::pages {

ButtonEditor::ButtonEditor(PageContext& context) : ctx_(context) {}

void ButtonEditor::refresh() {}

void ButtonEditor::stopCapture() {}

} // namespace zq::settings::pages
