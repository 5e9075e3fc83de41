#pragma once
// The synchronisation sequences in the running program: the window's messages and timers start them,
// a device worker thread runs them on a copy of the device's state, and the UI thread takes back what
// they read. The window never waits on a device.
#include "device/device_worker.h"
#include "device/sync.h"

#include <functional>

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

    // Runs a sequence for a device off the UI thread and applies its result on it.
    using Sequence =
        std::function<device::SyncResult(device::DeviceLink&, device::DeviceState&, platform::Event&)>;
    void run(device::DeviceClass device, Sequence sequence);

    device::DeviceWorker& worker() { return worker_; }

private:
    void apply(device::DeviceClass device, const device::DeviceState& copy, const device::SyncResult& result);
    MainWindow& window_;
    device::DeviceWorker worker_;
};

} // namespace zq::shell
