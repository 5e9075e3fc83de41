#pragma once
// The mouse page: DPI levels, report rate, lighting sliders and checks, pointer speed and wheel lines,
// the onboard slot buttons, the page refresh, the device-profile selection and the two resets.
#include "settings/mouse_settings_record.h"
#include "settings/pages/page_context.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

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

    // The two resets from the default files beside the program ("ms_pro_device_reset_btn",
    // "ms_pro_deng_reset_btn"); false when the file is missing or damaged (the user was told, nothing
    // changed).
    bool resetDeviceProfile();
    bool resetLightingProfile();

private:
    MouseSettingsBlock block() const;
    // Every change of the block: the flag for the push, then the profile files of `storedProfiles`.
    template <class Change> void changeBlock(Change change, unsigned storedProfiles);

    void showDpiValue(int level);
    void storeDpi(int level);
    void chooseDpiColour(int button);
    void showReportRate(int rate);
    void showPerformance();
    void showHostValues(int pointerSpeed, int wheelLines);
    void stepWheel(bool up);
    void wheelTextChanged();
    void wheelLeft();
    void showButtonPictures(int slot);
    // Hands the desktop's pointer speed and wheel lines their new values off the UI thread; once the
    // desktop has them, the profile files of `storedProfiles` are written (they carry both values).
    void applyHostLater(std::optional<int> pointerSpeed, std::optional<int> wheelLines,
                        unsigned storedProfiles);
    // A handler for a control the lighting page may already serve: the lighting page's wins.
    void onUnlessServed(const char* type, const char* name, std::function<void()> handler);

    PageContext& ctx_;
    LightingPages& lighting_;
    ButtonEditor& buttons_;
    // Work handed to the UI thread from the host worker checks this first: the page may be gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    // What the last device-profile selection showed, for a page built after it: the desktop's pointer
    // speed and wheel lines, and the button layout's slot.
    std::optional<std::pair<int, int>> hostShown_;
    std::optional<int> pictureSlot_;
    // Whether the page was refreshed: a performance page built later shows the block then.
    bool refreshed_ = false;
};

} // namespace zq::settings::pages
