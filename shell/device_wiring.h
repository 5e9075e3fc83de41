#pragma once
// Where the device threads meet the window: the presence threads' arrivals and removals and the
// device-report threads' reports become UI steps and messages of the main window, carried to the UI
// thread in the order the threads asked for them.
#include "device/device_reports.h"
#include "device/presence.h"

#include <array>
#include <memory>
#include <string>

namespace zq::hid {
class RawNodeBackend;
}

namespace zq::shell {

class MainWindow;

class DeviceWiring final : public device::PresenceEvents, public device::DeviceReportSink {
public:
    // Puts the presence threads into slots 1 (mouse), 2 (pad) and 14 (keyboard), the device-report
    // threads into slots 3 (mouse) and 4 (keyboard).
    DeviceWiring(MainWindow& window, hid::RawNodeBackend& backend);
    ~DeviceWiring() override;

    void selectSavedProfile(device::DeviceClass device) override;
    void showDeviceTab(device::DeviceClass device) override;
    void padTabConnected() override;
    void firstScanFoundDevice(device::DeviceClass device) override;
    void hideDeviceTab(device::DeviceClass device) override;
    void selectDeviceTab(device::DeviceClass device) override;
    void postMouseDisconnected() override;
    void hideMainWindow() override;
    void sameModeVisible(device::DeviceClass device, bool visible) override;
    // A node of the device this user may not open: said once in a message with the commands that install
    // the device rule, and in the tray's tooltip while it lasts.
    void linkErrorChanged(device::DeviceClass device, device::LinkError error) override;
    void deviceReport(device::DeviceClass device, device::DeviceReport report,
                      platform::Event& stop) override;

    // A click on the mouse (usage 0x0403): the lighting's reaction triggers, once the engine runs.
    std::function<void()> onClick;

private:
    void showPermissionState();

    MainWindow& window_;
    std::array<bool, 3> refused_{};
    std::array<bool, 3> told_{};
    std::unique_ptr<device::PresenceMonitor> presence_;
    std::unique_ptr<device::DeviceReportMonitor> reports_;
};

// The device's tab button and the "same mode" button of its lighting page.
const char* deviceTab(device::DeviceClass device);

// Where the device rule is to be found for copying: beside an installed program, in the system's rule
// folders, or in the source tree the program was built from.
std::string udevRuleFile(const std::string& applicationFolder);

} // namespace zq::shell
