#include "sim/sim_device.h"

#include "sim/descriptors.h"
#include "sim/node_numbering.h"

#include <algorithm>

namespace zq::sim {

using hid::IoResult;
using hid::IoStatus;

SimDevice::SimDevice(const DeviceModel& model, platform::Clock& clock,
                     std::shared_ptr<NodeNumbering> numbering, std::shared_ptr<hid::NodeChangeHub> changes)
    : model_(model), clock_(clock), realTime_(&clock == &platform::systemClock()),
      numbering_(std::move(numbering)), changes_(std::move(changes)), firmware_(model),
      log_(kRequestLogSize) {
    numbers_.fill(-1);
}

SimDevice::~SimDevice() {
    for (int n : numbers_)
        if (n >= 0) numbering_->give(n);
}

// --- plugging -----------------------------------------------------------------------------------------

bool SimDevice::plugged() const {
    std::lock_guard lock(mutex_);
    return plugged_;
}

void SimDevice::unplug() {
    std::lock_guard lock(mutex_);
    unplugLocked();
}

void SimDevice::unplugLocked() {
    if (!plugged_) return;
    plugged_ = false;
    ++generation_;
    for (std::size_t i = 0; i < model_.nodeCount; ++i) {
        numbering_->give(numbers_[i]);
        numbers_[i] = -1;
        names_[i].clear();
    }
    cv_.notify_all();
    if (changes_) changes_->notify();
}

void SimDevice::plug() {
    std::lock_guard lock(mutex_);
    if (plugged_) return;
    for (std::size_t i = 0; i < model_.nodeCount; ++i) {
        numbers_[i] = numbering_->take();
        names_[i] = NodeNumbering::nodeName(numbers_[i]);
    }
    firmware_.powerCycle();
    plugged_ = true;
    if (changes_) changes_->notify();
}

void SimDevice::setAccessDenied(bool denied) {
    std::lock_guard lock(mutex_);
    if (accessDenied_ == denied) return;
    accessDenied_ = denied;
    if (plugged_ && changes_) changes_->notify();
}

bool SimDevice::accessDenied() const {
    std::lock_guard lock(mutex_);
    return accessDenied_;
}

std::vector<std::string> SimDevice::nodeNames() const {
    std::lock_guard lock(mutex_);
    if (!plugged_) return {};
    return {names_.begin(), names_.begin() + model_.nodeCount};
}

bool SimDevice::hasNode(const std::string& nodeName) const {
    std::lock_guard lock(mutex_);
    if (!plugged_) return false;
    return std::find(names_.begin(), names_.begin() + model_.nodeCount, nodeName) !=
           names_.begin() + model_.nodeCount;
}

bool SimDevice::hasStaleHandle(const std::string& nodeName) const {
    std::lock_guard lock(mutex_);
    return std::any_of(handles_.begin(), handles_.end(), [&](const SimNode* h) {
        return h->info_.node == nodeName && !h->cancelled_ && !aliveLocked(*h);
    });
}

void SimDevice::listNodes(std::vector<hid::NodeInfo>& out) const {
    std::lock_guard lock(mutex_);
    if (!plugged_ || accessDenied_) return;
    for (std::size_t i = 0; i < model_.nodeCount; ++i) {
        hid::NodeInfo info;
        info.node = names_[i];
        info.vendorId = kVendorId;
        info.productId = model_.productId;
        info.version = model_.version;
        info.descriptor.assign(model_.nodes[i].begin(), model_.nodes[i].end());
        out.push_back(std::move(info));
    }
}

// --- opening ------------------------------------------------------------------------------------------

bool SimDevice::aliveLocked(const SimNode& node) const {
    return plugged_ && node.generation_ == generation_;
}

std::unique_ptr<SimNode> SimDevice::open(const std::string& nodeName, unsigned access, bool exclusive) {
    std::lock_guard lock(mutex_);
    if (!plugged_ || accessDenied_) return nullptr;
    int index = -1;
    for (std::size_t i = 0; i < model_.nodeCount; ++i)
        if (names_[i] == nodeName) index = static_cast<int>(i);
    if (index < 0) return nullptr;

    // Sharing as the host asks for it: an exclusive open shares reading only. A probe without access
    // rights always opens.
    if (access != hid::kAccessNone) {
        for (const SimNode* h : handles_) {
            if (h->nodeIndex_ != index || !aliveLocked(*h) || h->cancelled_ || h->access_ == hid::kAccessNone)
                continue;
            if (h->exclusive_ && (access & hid::kAccessWrite)) return nullptr;
            if (exclusive && (h->access_ & hid::kAccessWrite)) return nullptr;
        }
    }
    hid::NodeInfo info;
    info.node = nodeName;
    info.vendorId = kVendorId;
    info.productId = model_.productId;
    info.version = model_.version;
    const auto& d = model_.nodes[static_cast<std::size_t>(index)];
    info.descriptor.assign(d.begin(), d.end());
    auto node =
        std::make_unique<SimNode>(shared_from_this(), index, std::move(info), access, exclusive, generation_);
    handles_.push_back(node.get());
    return node;
}

void SimDevice::detach(SimNode& node) {
    std::lock_guard lock(mutex_);
    handles_.erase(std::remove(handles_.begin(), handles_.end(), &node), handles_.end());
}

void SimDevice::cancel(SimNode& node) {
    std::lock_guard lock(mutex_);
    node.cancelled_ = true;
    cv_.notify_all();
}

// --- I/O ----------------------------------------------------------------------------------------------

IoResult SimDevice::write(SimNode& node, std::span<const std::uint8_t> report,
                          std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    if (node.cancelled_) return {IoStatus::Cancelled, 0};
    if (!aliveLocked(node)) return {IoStatus::Removed, 0};
    if (!(node.access_ & hid::kAccessWrite) || report.empty()) return {IoStatus::Error, 0};
    if (writeFault_ == WriteFault::Fail) return {IoStatus::Error, 0};
    if (writeFault_ == WriteFault::Stall) return waitOut(lock, node, limit);

    const bool command = node.nodeIndex_ == model_.vendorNode && report[0] == kVendorReportId;
    // Other output reports (the keyboard's LED report) are taken and have no effect here.
    if (!command) return {IoStatus::Ok, report.size()};
    if (report.size() != device::kFrameSize) return {IoStatus::Error, 0};

    if (unplugAfter_ == 0) {
        unplugAfter_ = -1;
        unplugLocked();
        return {IoStatus::Removed, 0};
    }
    if (unplugAfter_ > 0) --unplugAfter_;

    device::Frame request;
    std::copy(report.begin(), report.end(), request.begin());
    ++received_[request[device::kCommandOffset]];
    ++receivedTotal_;
    logLocked(request);
    if (noReply_) return {IoStatus::Ok, report.size()};

    device::Frame reply;
    if (forcedStatus_ != 0 && forcedCount_ != 0) {
        firmware_.refuse(request, forcedStatus_, reply);
        if (forcedCount_ > 0 && --forcedCount_ == 0) forcedStatus_ = 0;
    } else {
        firmware_.handle(request, reply);
    }
    broadcastLocked(model_.vendorNode, reply, clock_.now() + replyDelay_);
    return {IoStatus::Ok, report.size()};
}

// Spends a write's whole limit without completing it, unless cancel or unplug come first.
IoResult SimDevice::waitOut(std::unique_lock<std::mutex>& lock, SimNode& node,
                            std::chrono::milliseconds limit) {
    if (!realTime_) {
        clock_.sleepFor(limit);
        return {IoStatus::Timeout, 0};
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    cv_.wait_until(lock, deadline, [&] { return node.cancelled_ || !aliveLocked(node); });
    if (node.cancelled_) return {IoStatus::Cancelled, 0};
    if (!aliveLocked(node)) return {IoStatus::Removed, 0};
    return {IoStatus::Timeout, 0};
}

IoResult SimDevice::read(SimNode& node, std::span<std::uint8_t> buffer, std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    if (node.cancelled_) return {IoStatus::Cancelled, 0};
    if (!aliveLocked(node)) return {IoStatus::Removed, 0};
    if (!(node.access_ & hid::kAccessRead) || buffer.empty()) return {IoStatus::Error, 0};
    const auto take = [&] {
        const auto& e = node.queue_.front();
        const std::size_t n = std::min(e.length, buffer.size());
        std::copy_n(e.data.begin(), n, buffer.begin());
        node.queue_.pop();
        return IoResult{IoStatus::Ok, n};
    };
    limit = std::max(limit, std::chrono::milliseconds(0));

    if (!realTime_) {
        const auto now = clock_.now();
        if (!node.queue_.empty() && node.queue_.front().due <= now + limit) {
            const auto due = node.queue_.front().due;
            if (due > now) clock_.sleepFor(std::chrono::ceil<std::chrono::milliseconds>(due - now));
            return take();
        }
        clock_.sleepFor(limit);
        return {IoStatus::Timeout, 0};
    }

    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (node.cancelled_) return {IoStatus::Cancelled, 0};
        if (!aliveLocked(node)) return {IoStatus::Removed, 0};
        const auto now = std::chrono::steady_clock::now();
        if (!node.queue_.empty() && node.queue_.front().due <= now) return take();
        if (now >= deadline) return {IoStatus::Timeout, 0};
        auto wakeAt = deadline;
        if (!node.queue_.empty()) wakeAt = std::min(wakeAt, node.queue_.front().due);
        cv_.wait_until(lock, wakeAt);
    }
}

void SimDevice::broadcastLocked(int nodeIndex, std::span<const std::uint8_t> report,
                                platform::Clock::TimePoint due) {
    for (SimNode* h : handles_) {
        if (h->nodeIndex_ != nodeIndex || !(h->access_ & hid::kAccessRead) || h->cancelled_ ||
            !aliveLocked(*h))
            continue;
        h->queue_.push(report, due);
    }
    cv_.notify_all();
}

void SimDevice::logLocked(const device::Frame& frame) {
    log_[logNext_ % kRequestLogSize] = frame;
    ++logNext_;
    if (frame[device::kCommandOffset] == device::cmd::kWriteLightFrame) return;
    if (commandLog_.size() == kCommandLogSize) {
        commandLog_.pop_front();
        ++commandLogDropped_;
    }
    commandLog_.push_back({frame[device::kCommandOffset], device::readLe16(frame, device::kAddressOffset),
                           frame[device::kLengthOffset]});
}

// --- faults -------------------------------------------------------------------------------------------

void SimDevice::setNoReply(bool on) {
    std::lock_guard lock(mutex_);
    noReply_ = on;
}

void SimDevice::setReplyDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    replyDelay_ = std::max(delay, std::chrono::milliseconds(0));
}

void SimDevice::setStatusFault(std::uint8_t status, int count) {
    std::lock_guard lock(mutex_);
    forcedStatus_ = count == 0 ? 0 : status;
    forcedCount_ = count < 0 ? kAlways : count;
}

void SimDevice::setWriteFault(WriteFault fault) {
    std::lock_guard lock(mutex_);
    writeFault_ = fault;
    cv_.notify_all();
}

void SimDevice::unplugAfterFrames(int frames) {
    std::lock_guard lock(mutex_);
    unplugAfter_ = frames < 0 ? -1 : frames;
}

void SimDevice::clearFaults() {
    std::lock_guard lock(mutex_);
    noReply_ = false;
    replyDelay_ = std::chrono::milliseconds(0);
    forcedStatus_ = 0;
    forcedCount_ = 0;
    writeFault_ = WriteFault::None;
    unplugAfter_ = -1;
}

// --- buttons ------------------------------------------------------------------------------------------

bool SimDevice::sendConsumerLocked(std::uint16_t usage) {
    if (!plugged_ || model_.consumerNode < 0) return false;
    const auto now = clock_.now();
    const std::array<std::uint8_t, kConsumerReportSize> press{
        kConsumerReportId, static_cast<std::uint8_t>(usage), static_cast<std::uint8_t>(usage >> 8)};
    const std::array<std::uint8_t, kConsumerReportSize> release{kConsumerReportId, 0, 0};
    broadcastLocked(model_.consumerNode, press, now);
    broadcastLocked(model_.consumerNode, release, now);
    return true;
}

bool SimDevice::sendConsumerUsage(std::uint16_t usage) {
    std::lock_guard lock(mutex_);
    return sendConsumerLocked(usage);
}

bool SimDevice::sendNodeReport(int nodeIndex, std::span<const std::uint8_t> report) {
    std::lock_guard lock(mutex_);
    if (!plugged_ || nodeIndex < 0 || nodeIndex >= model_.nodeCount || report.empty()) return false;
    broadcastLocked(nodeIndex, report, clock_.now());
    return true;
}

bool SimDevice::pressProfileButton() {
    std::lock_guard lock(mutex_);
    if (!plugged_ || model_.consumerNode < 0) return false;
    firmware_.stepProfileSlot();
    return sendConsumerLocked(kUsageProfileButton);
}

bool SimDevice::pressDpiButton() {
    std::lock_guard lock(mutex_);
    if (!plugged_ || model_.kind != DeviceKind::Mouse) return false;
    firmware_.stepDpiLevel();
    return sendConsumerLocked(kUsageSettingsChanged);
}

bool SimDevice::pressBrightnessButton() {
    std::lock_guard lock(mutex_);
    if (!plugged_ || model_.kind != DeviceKind::Keyboard) return false;
    firmware_.stepBrightness();
    return sendConsumerLocked(kUsageSettingsChanged);
}

bool SimDevice::click() {
    std::lock_guard lock(mutex_);
    return sendConsumerLocked(kUsageClick);
}

// --- inspection ---------------------------------------------------------------------------------------

namespace {
std::vector<std::uint8_t> copyOf(std::span<const std::uint8_t> s) {
    return {s.begin(), s.end()};
}
} // namespace

std::uint8_t SimDevice::currentSlot() const {
    std::lock_guard lock(mutex_);
    return firmware_.currentSlot();
}

std::vector<std::uint8_t> SimDevice::records() const {
    std::lock_guard lock(mutex_);
    return copyOf(firmware_.records());
}

std::vector<std::uint8_t> SimDevice::record(std::size_t slot) const {
    std::lock_guard lock(mutex_);
    const auto all = firmware_.records();
    if ((slot + 1) * kRecordSize > all.size()) return {};
    return copyOf(all.subspan(slot * kRecordSize, kRecordSize));
}

std::vector<std::uint8_t> SimDevice::keyArea() const {
    std::lock_guard lock(mutex_);
    return copyOf(firmware_.keyArea());
}

std::vector<std::uint8_t> SimDevice::macroArea() const {
    std::lock_guard lock(mutex_);
    return copyOf(firmware_.macroArea());
}

std::vector<std::uint8_t> SimDevice::cursorArea() const {
    std::lock_guard lock(mutex_);
    return copyOf(firmware_.cursorArea());
}

std::array<std::uint8_t, device::kDeviceInfoSize> SimDevice::deviceInfo() const {
    std::lock_guard lock(mutex_);
    return firmware_.deviceInfo();
}

std::vector<std::uint8_t> SimDevice::lastLightFrame() const {
    std::lock_guard lock(mutex_);
    return copyOf(firmware_.lastLightFrame());
}

std::uint64_t SimDevice::lightFrameCount() const {
    std::lock_guard lock(mutex_);
    return firmware_.lightFrameCount();
}

bool SimDevice::transferOpen() const {
    std::lock_guard lock(mutex_);
    return firmware_.transferOpen();
}

std::uint64_t SimDevice::transfersBegun() const {
    std::lock_guard lock(mutex_);
    return firmware_.transfersBegun();
}

std::uint64_t SimDevice::transfersEnded() const {
    std::lock_guard lock(mutex_);
    return firmware_.transfersEnded();
}

std::uint64_t SimDevice::framesReceived(std::uint8_t command) const {
    std::lock_guard lock(mutex_);
    return received_[command];
}

std::uint64_t SimDevice::framesReceived() const {
    std::lock_guard lock(mutex_);
    return receivedTotal_;
}

std::vector<device::Frame> SimDevice::requestLog() const {
    std::lock_guard lock(mutex_);
    const std::size_t n = std::min(logNext_, kRequestLogSize);
    std::vector<device::Frame> out;
    out.reserve(n);
    for (std::size_t i = logNext_ - n; i < logNext_; ++i) out.push_back(log_[i % kRequestLogSize]);
    return out;
}

void SimDevice::clearRequestLog() {
    std::lock_guard lock(mutex_);
    logNext_ = 0;
}

std::vector<SimDevice::LoggedCommand> SimDevice::takeCommandLog(std::uint64_t* dropped) {
    std::lock_guard lock(mutex_);
    std::vector<LoggedCommand> out(commandLog_.begin(), commandLog_.end());
    commandLog_.clear();
    if (dropped) *dropped = commandLogDropped_;
    commandLogDropped_ = 0;
    return out;
}

bool SimDevice::changeRecords(std::size_t offset, std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    return firmware_.changeRecords(offset, bytes);
}

// --- SimNode ------------------------------------------------------------------------------------------

SimNode::SimNode(std::shared_ptr<SimDevice> device, int nodeIndex, hid::NodeInfo info, unsigned access,
                 bool exclusive, std::uint64_t generation)
    : device_(std::move(device)), nodeIndex_(nodeIndex), info_(std::move(info)), access_(access),
      exclusive_(exclusive), generation_(generation) {}

SimNode::~SimNode() {
    device_->detach(*this);
}

IoResult SimNode::write(std::span<const std::uint8_t> report, std::chrono::milliseconds limit) {
    return device_->write(*this, report, limit);
}

IoResult SimNode::read(std::span<std::uint8_t> buffer, std::chrono::milliseconds limit) {
    return device_->read(*this, buffer, limit);
}

void SimNode::cancel() {
    device_->cancel(*this);
}

} // namespace zq::sim
