#pragma once
// The keyboard's button-assignment page: the key list up to the keyboard's key count, the labels of
// the layout's 126 key positions, the function editor and its defaults.
#include "settings/pages/page_context.h"

namespace zq::settings::pages {

class KeyboardKeyPage {
public:
    explicit KeyboardKeyPage(PageContext& context);
    KeyboardKeyPage(const KeyboardKeyPage&) = delete;
    KeyboardKeyPage& operator=(const KeyboardKeyPage&) = delete;

    void refresh();

private:
    PageContext& ctx_;
};

} // namespace zq::settings::pages
