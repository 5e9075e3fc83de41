#include "shell/device_wiring.h"

#include "profiles/profile_index.h"
#include "shell/main_window.h"
#include "ui/message_presenter.h"
#include "ui/skin.h"

#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace zq::shell {

namespace {

using device::DeviceClass;

// What the window shows of each device: its tab button, the "same mode" button of its lighting page,
// and the profile list whose saved selection an arrival selects (the keyboard follows the pad's model
// with its device profiles).
struct DeviceControls {
    const char* tab;
    const char* sameMode;
    profiles::ProfileCategory savedProfile;
    const char* profileCombo;
};

constexpr DeviceControls controlsOf(DeviceClass device) {
    switch (device) {
    case DeviceClass::Mouse:
        return {"ms_tab", "ms_deng_same_mode", profiles::ProfileCategory::MouseDevice,
                "ms_device_profile_combo"};
    case DeviceClass::Pad:
        return {"mp_tab", "mp_deng_same_mode", profiles::ProfileCategory::PadLighting,
                "mp_deng_profile_combo"};
    case DeviceClass::Keyboard:
        break;
    }
    return {"kb_tab", "kb_deng_same_mode", profiles::ProfileCategory::KeyboardDevice,
            "kb_device_profile_combo"};
}

} // namespace

const char* deviceTab(DeviceClass device) {
    return controlsOf(device).tab;
}

DeviceWiring::DeviceWiring(MainWindow& window, hid::RawNodeBackend& backend)
    : window_(window), presence_(std::make_unique<device::PresenceMonitor>(window.state(), *this)),
      reports_(std::make_unique<device::DeviceReportMonitor>(backend, *this)) {
    window_.setThread(1, [this](platform::Event& stop) { presence_->run(DeviceClass::Mouse, stop); });
    window_.setThread(2, [this](platform::Event& stop) { presence_->run(DeviceClass::Pad, stop); });
    window_.setThread(3, [this](platform::Event& stop) { reports_->run(DeviceClass::Mouse, stop); });
    window_.setThread(4, [this](platform::Event& stop) { reports_->run(DeviceClass::Keyboard, stop); });
    window_.setThread(14, [this](platform::Event& stop) { presence_->run(DeviceClass::Keyboard, stop); });
}

DeviceWiring::~DeviceWiring() = default;

void DeviceWiring::selectSavedProfile(DeviceClass device) {
    window_.postTask([this, device] {
        const DeviceControls controls = controlsOf(device);
        const int item = profiles::ProfileIndex::forCategory(controls.savedProfile).select();
        ui::ListLike combo = window_.page().combo(controls.profileCombo);
        if (item >= 0 && item < combo.count()) combo.select(item, ui::Notify::Yes);
    });
}

void DeviceWiring::showDeviceTab(DeviceClass device) {
    window_.postTask([this, device] {
        ui::Page& page = window_.page();
        page.find(deviceTab(device)).setVisible(true);
        page.option(deviceTab(device)).setSelected(true, ui::Notify::Yes);
        if (device == DeviceClass::Mouse) page.find("ms_tab_panel").setVisible(true);
        window_.somethingMoves(); // its lights stream now
    });
}

void DeviceWiring::padTabConnected() {
    window_.postTask([this] {
        if (QWidget* tab = window_.page().find("mp_tab").widget()) tab->update();
        window_.startRepaint(100);
    });
}

void DeviceWiring::firstScanFoundDevice(DeviceClass) {
    // Started in the background (at login), the program stays in the tray until it is asked for.
    if (window_.options().startHidden) return;
    window_.post(AppMessage::BringUp);
}

void DeviceWiring::hideDeviceTab(DeviceClass device) {
    window_.postTask([this, device] { window_.page().find(deviceTab(device)).setVisible(false); });
}

void DeviceWiring::selectDeviceTab(DeviceClass device) {
    window_.postTask([this, device] {
        window_.page().find(deviceTab(device)).setVisible(true);
        window_.page().option(deviceTab(device)).setSelected(true, ui::Notify::Yes);
    });
}

void DeviceWiring::postMouseDisconnected() {
    window_.post(AppMessage::LastDeviceGone);
}

void DeviceWiring::hideMainWindow() {
    window_.postTask([this] { window_.hideForNoDevice(); });
}

void DeviceWiring::sameModeVisible(DeviceClass device, bool visible) {
    window_.postTask(
        [this, device, visible] { window_.page().find(controlsOf(device).sameMode).setVisible(visible); });
}

std::string udevRuleFile(const std::string& applicationFolder) {
    constexpr const char* kRule = "70-zephran-q70.rules";
    const std::filesystem::path candidates[] = {
        std::filesystem::path(applicationFolder) / "../../lib/udev/rules.d" / kRule,
        std::filesystem::path("/usr/lib/udev/rules.d") / kRule,
        std::filesystem::path("/usr/local/lib/udev/rules.d") / kRule,
        std::filesystem::path(ZQ_SOURCE_PACKAGING) / kRule,
    };
    for (const auto& candidate : candidates) {
        std::error_code ignored;
        if (std::filesystem::is_regular_file(candidate, ignored))
            return std::filesystem::weakly_canonical(candidate, ignored).string();
    }
    return kRule;
}

void DeviceWiring::linkErrorChanged(DeviceClass device, device::LinkError error) {
    window_.postTask([this, device, error] {
        const auto i = static_cast<std::size_t>(device);
        refused_[i] = error == device::LinkError::Permission;
        showPermissionState();
        if (!refused_[i] || told_[i]) return;
        told_[i] = true; // once a run: the tooltip keeps saying it
        const std::string format = window_.skin().text("message_permission");
        const std::string rule = udevRuleFile(ui::Skin::applicationFolder());
        std::vector<char> text(format.size() + rule.size() + 64);
        std::snprintf(text.data(), text.size(), format.c_str(), device::deviceKey(device), rule.c_str());
        window_.messages().showText(text.data());
    });
}

void DeviceWiring::showPermissionState() {
    for (DeviceClass c : device::kDeviceClasses) {
        if (!refused_[static_cast<std::size_t>(c)]) continue;
        const std::string format = window_.skin().text("tray_permission");
        std::vector<char> text(format.size() + 32);
        std::snprintf(text.data(), text.size(), format.c_str(), device::deviceKey(c));
        window_.setTrayToolTip(text.data());
        return;
    }
    window_.setTrayToolTip("ZEPHRAN Q70");
}

void DeviceWiring::deviceReport(DeviceClass device, device::DeviceReport report, platform::Event& stop) {
    if (report == device::DeviceReport::Click) {
        if (onClick) onClick();
        return;
    }
    const bool full = report == device::DeviceReport::FullReadBack;
    const AppMessage message =
        device == DeviceClass::Mouse
            ? (full ? AppMessage::MouseFullReadBack : AppMessage::MouseSlotRefresh)
            : (full ? AppMessage::KeyboardFullReadBack : AppMessage::KeyboardSlotRefresh);
    window_.send(message, stop);
}

} // namespace zq::shell
