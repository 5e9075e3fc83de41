#include "sim/sim_backend.h"

#include "sim/node_numbering.h"

#include <cstdlib>

namespace zq::sim {

SimBackend::SimBackend(platform::Clock& clock, const std::vector<DeviceModel>& models)
    : clock_(clock), numbering_(std::make_shared<NodeNumbering>()),
      changes_(std::make_shared<hid::NodeChangeHub>()) {
    for (const auto& model : models) {
        devices_.push_back(std::make_shared<SimDevice>(model, clock_, numbering_, changes_));
        devices_.back()->plug();
    }
}

SimBackend::~SimBackend() = default;

bool SimBackend::enumerate(std::vector<hid::NodeInfo>& out) {
    out.clear();
    for (const auto& d : devices_) d->listNodes(out);
    return true;
}

std::unique_ptr<hid::RawNode> SimBackend::open(const std::string& node, unsigned access, bool exclusive) {
    for (const auto& d : devices_)
        if (auto n = d->open(node, access, exclusive)) return n;
    return nullptr;
}

bool SimBackend::present(const std::string& node, std::uint16_t vendorId, std::uint16_t productId) {
    // A device plugged in again takes the lowest free numbers, often its old names. A handle still open
    // on the old node makes the answer "gone", as the hidraw backend gives it, so its holder closes it
    // and scans again instead of keeping a dead handle behind a name that answers.
    for (const auto& d : devices_)
        if (d->hasStaleHandle(node)) return false;
    for (const auto& d : devices_)
        if (vendorId == kVendorId && productId == d->model().productId && d->hasNode(node)) return true;
    return false;
}

std::vector<hid::RefusedNode> SimBackend::refusedNodes() const {
    std::vector<hid::RefusedNode> out;
    for (const auto& d : devices_) {
        if (!d->accessDenied()) continue;
        for (const auto& name : d->nodeNames()) out.push_back({name, kVendorId, d->model().productId});
    }
    return out;
}

SimDevice* SimBackend::find(DeviceKind kind) const {
    for (const auto& d : devices_)
        if (d->model().kind == kind) return d.get();
    return nullptr;
}

SimDevice& SimBackend::device(DeviceKind kind) const {
    SimDevice* d = find(kind);
    if (d == nullptr) std::abort(); // a test or tool asked for a device it did not build the backend with
    return *d;
}

} // namespace zq::sim
