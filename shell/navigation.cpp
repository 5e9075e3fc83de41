#include "shell/navigation.h"

#include "ui/page.h"
#include "ui/skin.h"

#include <array>
#include <utility>

namespace zq::shell {

namespace {

constexpr const char* kDeviceSwitch = "tab_switch";
constexpr const char* kKeyboardSwitch = "kb_tab_switch";
constexpr const char* kMouseSwitch = "ms_tab_switch";

// Device tab button → page of "tab_switch".
constexpr std::array<std::pair<const char*, int>, 5> kDevicePages{{
    {"kb_tab", 0},
    {"ms_tab", 1},
    {"mp_tab", 2},
    {"ani_tab", 3},
    {"split_tab", 4},
}};

// The keyboard's settings page holds both the lighting and the key layouts; its other pages are the
// macros and the (empty) cursor-path page.
constexpr int kKeyboardSettingsPage = 2;
constexpr int kKeyboardMacroPage = 1;
constexpr int kKeyboardCursorPage = 3;

constexpr int kMouseLightingPage = 0;
constexpr int kMouseMacroPage = 1;
constexpr int kMouseKeysPage = 2;
constexpr int kMousePerformancePage = 3;
constexpr int kMouseCursorPage = 4;

const std::vector<std::string> kKeyboardOptions{"kb_deng_Op_tab", "kb_key_Op_tab", "kb_macro_Op_tab",
                                                "kb_cursor_Op_tab"};
const std::vector<std::string> kMouseOptions{"ms_deng_Op_tab", "ms_key_Op_tab", "ms_rich_Op_tab",
                                             "ms_macro_Op_tab", "ms_cursor_Op_tab"};

bool isOneOf(const std::string& lower, const std::vector<std::string>& names) {
    for (const auto& n : names)
        if (ui::toLower(n) == lower) return true;
    return false;
}

} // namespace

const std::vector<std::string>& Navigation::deviceTabs() {
    static const std::vector<std::string> tabs = [] {
        std::vector<std::string> out;
        for (const auto& [name, page] : kDevicePages) out.emplace_back(name);
        return out;
    }();
    return tabs;
}

std::vector<std::string> Navigation::optionTabs(std::string_view deviceTab) {
    const std::string lower = ui::toLower(deviceTab);
    if (lower == "kb_tab") return kKeyboardOptions;
    if (lower == "ms_tab") return kMouseOptions;
    return {};
}

void Navigation::select(std::string_view button) const {
    main_.option(button).setSelected(true, ui::Notify::Yes);
}

bool Navigation::follow(const ui::Notification& n) const {
    if (n.type != ui::notify::kSelectChanged) return false;
    const std::string name = ui::toLower(n.sender);
    const bool isDevice = [&] {
        for (const auto& [tab, page] : kDevicePages)
            if (name == tab) return true;
        return false;
    }();
    const bool isKeyboard = isOneOf(name, kKeyboardOptions);
    const bool isMouse = isOneOf(name, kMouseOptions);
    if (!isDevice && !isKeyboard && !isMouse) return false;
    // A strip's deselected button reports too; only the selected one moves the pages.
    if (!main_.option(name).selected()) return true;

    if (isDevice) {
        for (const auto& [tab, page] : kDevicePages)
            if (name == tab) main_.tabs(kDeviceSwitch).selectPage(page);
    } else if (isKeyboard) {
        followKeyboard(name);
    } else {
        followMouse(name);
    }
    return true;
}

void Navigation::followKeyboard(const std::string& name) const {
    ui::Tabs pages = main_.tabs(kKeyboardSwitch);
    auto enableProfiles = [&](bool on) {
        for (const char* control : {"kb_profile_fun_spread_btn", "kb_profile_select_tab",
                                    "kb_profile_fun_spead_tab", "kb_device_profile_edit"})
            main_.find(control).setEnabled(on);
    };
    if (name == "kb_deng_op_tab") {
        pages.selectPage(kKeyboardSettingsPage);
        main_.find("kb_deng_layout").setVisible(true);
        main_.find("kb_tab_key_seting").setVisible(false);
        enableProfiles(true);
    } else if (name == "kb_key_op_tab") {
        if (pages.current() != kKeyboardSettingsPage) {
            // Coming from another page no key is chosen yet: the function editor waits for one.
            ui::Control function = main_.find("kb_tab_function");
            function.setVisible(false);
            function.setEnabled(false);
            pages.selectPage(kKeyboardSettingsPage);
        }
        main_.find("kb_deng_layout").setVisible(false);
        main_.find("kb_tab_key_seting").setVisible(true);
        enableProfiles(true);
    } else if (name == "kb_macro_op_tab") {
        pages.selectPage(kKeyboardMacroPage);
        enableProfiles(false);
        main_.find("kb_key_profile_edit").setEnabled(false);
        main_.find("kb_deng_profile_edit").setEnabled(false);
    } else if (name == "kb_cursor_op_tab") {
        pages.selectPage(kKeyboardCursorPage);
    }
}

void Navigation::followMouse(const std::string& name) const {
    ui::Tabs pages = main_.tabs(kMouseSwitch);
    ui::Control deviceEdit = main_.find("ms_device_profile_edit");
    auto settingsPage = [&] {
        // On the settings pages the profile panel is there to pick and link, not to rename.
        deviceEdit.setEnabled(true);
        for (const char* control :
             {"ms_device_profile_name_edit", "ms_device_profile_edit_save_btn", "label_text"})
            main_.find(control).setEnabled(false);
    };
    if (name == "ms_deng_op_tab") {
        pages.selectPage(kMouseLightingPage);
        settingsPage();
    } else if (name == "ms_macro_op_tab") {
        pages.selectPage(kMouseMacroPage);
        deviceEdit.setEnabled(false);
    } else if (name == "ms_cursor_op_tab") {
        pages.selectPage(kMouseCursorPage);
        deviceEdit.setEnabled(false);
    } else if (name == "ms_rich_op_tab") {
        pages.selectPage(kMousePerformancePage);
        settingsPage();
    } else if (name == "ms_key_op_tab") {
        if (pages.current() != kMouseKeysPage) {
            main_.find("ms_tab_function").setVisible(true);
            pages.selectPage(kMouseKeysPage);
        }
        settingsPage();
    }
}

} // namespace zq::shell
