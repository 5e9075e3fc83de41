#include "unit/device/scripted_device.h"

#include "sim/descriptors.h"

#include <algorithm>
#include <atomic>

namespace zq::test {

// The scripted device answers on the same vendor collection as the emulated devices.
const std::vector<std::uint8_t> kVendorCollectionDescriptor(sim::kVendorCollection.begin(),
                                                            sim::kVendorCollection.end());

ScriptedDevice::ScriptedDevice() {
    info.node = "scripted0";
    info.vendorId = 0x0C45;
    info.productId = 0x7684;
    info.descriptor = kVendorCollectionDescriptor;
}

void ScriptedDevice::script(std::vector<ScriptEntry> entries) {
    std::lock_guard g(mutex_);
    script_.assign(entries.begin(), entries.end());
}

void ScriptedDevice::setFallback(ScriptEntry entry) {
    std::lock_guard g(mutex_);
    fallback_ = entry;
}

void ScriptedDevice::setResponder(std::function<void(std::size_t, const device::Frame&, device::Frame&)> fn) {
    std::lock_guard g(mutex_);
    responder_ = std::move(fn);
}

std::vector<device::Frame> ScriptedDevice::writes() const {
    std::lock_guard g(mutex_);
    return writes_;
}

std::vector<IoRecord> ScriptedDevice::log() const {
    std::lock_guard g(mutex_);
    return log_;
}

std::size_t ScriptedDevice::waitingReadsAfterLastWrite() const {
    std::lock_guard g(mutex_);
    std::size_t n = 0;
    for (auto it = log_.rbegin(); it != log_.rend() && !it->write; ++it)
        if (it->limit.count() > 0) ++n;
    return n;
}

void ScriptedDevice::clearLog() {
    std::lock_guard g(mutex_);
    writes_.clear();
    log_.clear();
}

hid::IoResult ScriptedDevice::write(std::span<const std::uint8_t> report, std::chrono::milliseconds limit) {
    std::unique_lock g(mutex_);
    log_.push_back({true, limit});
    ScriptEntry entry = fallback_;
    if (!script_.empty()) {
        entry = script_.front();
        script_.pop_front();
    }
    if (entry.step == Step::WriteFails) return {hid::IoStatus::Error, 0};
    device::Frame request{};
    std::copy_n(report.begin(), std::min(report.size(), request.size()), request.begin());
    const std::size_t index = writes_.size();
    writes_.push_back(request);
    if (entry.step == Step::NoReply) return {hid::IoStatus::Ok, report.size()};

    device::Frame reply = request;
    if (responder_) {
        auto responder = responder_;
        g.unlock(); // the responder may look at the device or the link
        responder(index, request, reply);
        g.lock();
    }
    reply[device::kStatusOffset] = entry.status;
    std::vector<std::uint8_t> bytes(entry.replyBytes, 0);
    std::copy_n(reply.begin(), std::min(entry.replyBytes, reply.size()), bytes.begin());
    (entry.step == Step::LateReply ? late_ : ready_).push_back(std::move(bytes));
    return {hid::IoStatus::Ok, report.size()};
}

hid::IoResult ScriptedDevice::read(std::span<std::uint8_t> buffer, std::chrono::milliseconds limit) {
    std::lock_guard g(mutex_);
    log_.push_back({false, limit});
    if (ready_.empty()) {
        // A late reply shows up just after this read gave up on it.
        for (auto& r : late_) ready_.push_back(std::move(r));
        late_.clear();
        return {hid::IoStatus::Timeout, 0};
    }
    auto reply = std::move(ready_.front());
    ready_.pop_front();
    const std::size_t n = std::min(reply.size(), buffer.size());
    std::copy_n(reply.begin(), n, buffer.begin());
    return {hid::IoStatus::Ok, n};
}

namespace {

class ScriptedNode final : public hid::RawNode {
public:
    explicit ScriptedNode(std::shared_ptr<ScriptedDevice> device) : device_(std::move(device)) {}
    const hid::NodeInfo& info() const override { return device_->info; }
    hid::IoResult write(std::span<const std::uint8_t> report, std::chrono::milliseconds limit) override {
        if (cancelled_) return {hid::IoStatus::Cancelled, 0};
        return device_->write(report, limit);
    }
    hid::IoResult read(std::span<std::uint8_t> buffer, std::chrono::milliseconds limit) override {
        if (cancelled_) return {hid::IoStatus::Cancelled, 0};
        return device_->read(buffer, limit);
    }
    void cancel() override { cancelled_ = true; }

private:
    std::shared_ptr<ScriptedDevice> device_;
    std::atomic<bool> cancelled_{false};
};

} // namespace

ScriptedBackend::ScriptedBackend() = default;

bool ScriptedBackend::enumerate(std::vector<hid::NodeInfo>& out) {
    out = {device->info};
    return true;
}

std::unique_ptr<hid::RawNode> ScriptedBackend::open(const std::string& node, unsigned, bool) {
    if (node != device->info.node) return nullptr;
    return std::make_unique<ScriptedNode>(device);
}

bool ScriptedBackend::present(const std::string& node, std::uint16_t vendorId, std::uint16_t productId) {
    return node == device->info.node && vendorId == device->info.vendorId &&
           productId == device->info.productId;
}

std::string ScriptedBackend::collectionPath() const {
    return hid::collectionPath(device->info.node, device->info.vendorId, device->info.productId, 0, 1);
}

} // namespace zq::test
