#pragma once
// The emulator's raw-node backend: the emulated mouse, pad and keyboard presented as nodes, so the very
// HidDeviceRecord code that runs on hidraw runs on them too.
//
// Nodes are named "sim/hidraw<N>" with N the lowest free number, like hidraw minors. Each device starts
// plugged. Open nodes keep their device alive, so a node may outlive the backend; the clock must
// outlive both.
#include "device/hid/raw_node.h"
#include "platform/clock.h"
#include "sim/device_model.h"
#include "sim/sim_device.h"

#include <memory>
#include <vector>

namespace zq::sim {

class NodeNumbering;

class SimBackend final : public hid::RawNodeBackend {
public:
    explicit SimBackend(platform::Clock& clock = platform::systemClock(),
                        const std::vector<DeviceModel>& models = defaultModels());
    ~SimBackend() override;

    bool enumerate(std::vector<hid::NodeInfo>& out) override;
    std::unique_ptr<hid::RawNode> open(const std::string& node, unsigned access, bool exclusive) override;
    // False while a handle opened on this node before an unplug is still open (see the hidraw backend).
    bool present(const std::string& node, std::uint16_t vendorId, std::uint16_t productId) override;
    // Told of every plug, unplug and change of access rights of the devices.
    hid::NodeChanges* nodeChanges() override { return changes_.get(); }
    // The nodes of plugged devices whose access is denied.
    std::vector<hid::RefusedNode> refusedNodes() const override;
    // How many changes the devices have announced.
    std::uint64_t nodeChangeCount() const { return changes_->changes(); }

    // The device of that kind; null when the backend was built without it.
    SimDevice* find(DeviceKind kind) const;
    // The device of that kind, which must exist (the default backend has all three).
    SimDevice& device(DeviceKind kind) const;
    SimDevice& mouse() const { return device(DeviceKind::Mouse); }
    SimDevice& pad() const { return device(DeviceKind::Pad); }
    SimDevice& keyboard() const { return device(DeviceKind::Keyboard); }
    const std::vector<std::shared_ptr<SimDevice>>& devices() const { return devices_; }

    platform::Clock& clock() const { return clock_; }

private:
    platform::Clock& clock_;
    std::shared_ptr<NodeNumbering> numbering_;
    std::shared_ptr<hid::NodeChangeHub> changes_;
    std::vector<std::shared_ptr<SimDevice>> devices_;
};

} // namespace zq::sim
