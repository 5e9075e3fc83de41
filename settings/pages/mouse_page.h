#pragma once
// The mouse page: DPI levels, report rate, lighting sliders and checks, pointer speed and wheel lines,
// the onboard slot buttons, the page refresh, the device-profile selection and the two resets.
#include "settings/pages/page_context.h"

namespace zq::settings::pages {

class ButtonEditor;
class LightingPages;

class MousePage {
public:
    MousePage(PageContext& context, LightingPages& lighting, ButtonEditor& buttons);
    MousePage(const MousePage&) = delete;
    MousePage& operator=(const MousePage&) = delete;

    // Fills the mouse page from the live block (after every load, reset, slot switch, read-back).
    void refresh();
    // The device-profile selection after the profile at list position `index` was loaded into the key
    // table (mouse key page 0) and record slot 0.
    void selectDeviceProfile(int index);
    // "ms_rich_Op_tab" became selected: the report-rate list shows the block's rate again.
    void reselectReportRate();

private:
    PageContext& ctx_;
    LightingPages& lighting_;
    ButtonEditor& buttons_;
};

} // namespace zq::settings::pages
