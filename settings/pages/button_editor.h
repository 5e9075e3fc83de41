#pragma once
// The mouse's button-assignment page: the button list, the function categories and their pages, the
// labels, and the key capture.
#include "settings/pages/page_context.h"

namespace zq::settings::pages {

class ButtonEditor {
public:
    explicit ButtonEditor(PageContext& context);
    ButtonEditor(const ButtonEditor&) = delete;
    ButtonEditor& operator=(const ButtonEditor&) = delete;

    // Fills the labels and pictures of the button page from the key table.
    void refresh();
    // Ends a key capture that runs (navigation, deactivation, exit).
    void stopCapture();

private:
    PageContext& ctx_;
};

} // namespace zq::settings::pages
