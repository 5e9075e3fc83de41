#pragma once
// The synchronisation sequences in the running program: the window's messages and timers start them,
// a device worker thread runs them on a copy of the device's state, and the UI thread takes back what
// they read. The window never waits on a device.
#include "device/device_worker.h"
#include "device/sync.h"

#include <functional>
#include <memory>

namespace zq::platform {
class HostMouseSettings;
}

namespace zq::shell {

class MainWindow;

class SyncWiring {
public:
    explicit SyncWiring(MainWindow& window);
    ~SyncWiring();

    // The page refresh after a sequence; the settings pages fill it in.
    std::function<void(device::DeviceClass)> refreshPage;
    // The device's lighting bytes may have changed: the lighting engine takes them again.
    std::function<void(device::DeviceClass)> lightingChanged;
    // A read-back filled the current record: its settings go into the selected profiles' files (a mask
    // of the profile pages' StoredProfile bits).
    std::function<void(unsigned storedProfiles)> storeSettings;

    // Runs a sequence for a device off the UI thread and applies its result on it.
    using Sequence =
        std::function<device::SyncResult(device::DeviceLink&, device::DeviceState&, platform::Event&)>;
    // `after` runs on the UI thread before the result is applied (and the page refreshed).
    void run(device::DeviceClass device, Sequence sequence,
             std::function<void(const device::SyncResult&)> after = {}, unsigned storeAfter = 0);

    device::DeviceWorker& worker() { return worker_; }
    // The onboard slot switch of the mouse or the pad (0..5; others are ignored by the sequence).
    void switchSlot(device::DeviceClass device, int slot);

private:
    void apply(device::DeviceClass device, const device::DeviceState& copy, const device::SyncResult& result,
               unsigned storeAfter);
    MainWindow& window_;
    device::DeviceWorker worker_;
    std::unique_ptr<platform::HostMouseSettings> hostMouse_; // made on first use
};

} // namespace zq::shell
