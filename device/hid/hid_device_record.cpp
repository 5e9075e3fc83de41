#include "device/hid/hid_device_record.h"

#include <algorithm>
#include <cstdio>

namespace zq::hid {

std::string collectionPath(const std::string& node, std::uint16_t vendorId, std::uint16_t productId,
                           int collectionIndex, int collectionCount) {
    char ids[48];
    std::snprintf(ids, sizeof ids, "#vid_%04x&pid_%04x", vendorId, productId);
    std::string path = node + ids;
    if (collectionCount > 1) {
        char col[16];
        std::snprintf(col, sizeof col, "&col%02d", collectionIndex + 1);
        path += col;
    }
    return path;
}

PathParts splitCollectionPath(const std::string& path) {
    PathParts parts;
    const auto hash = path.rfind('#');
    parts.node = path.substr(0, hash);
    if (hash == std::string::npos) return parts;
    const auto col = path.find("&col", hash);
    if (col != std::string::npos) {
        int n = 0;
        for (std::size_t i = col + 4; i < path.size() && path[i] >= '0' && path[i] <= '9' && n < 1000; ++i)
            n = n * 10 + (path[i] - '0');
        parts.collectionIndex = n > 0 ? n - 1 : 0;
    }
    return parts;
}

HidDeviceRecord::HidDeviceRecord(RawNodeBackend& backend)
    : backend_(backend), clock_(&platform::systemClock()) {}

HidDeviceRecord::~HidDeviceRecord() {
    closeCollection();
    freePaths();
}

void HidDeviceRecord::freePaths() {
    paths_.clear();
}

bool HidDeviceRecord::enumerateInterfaces() {
    freePaths();
    std::vector<NodeInfo> nodes;
    if (!backend_.enumerate(nodes)) return false;
    for (const auto& n : nodes) {
        const auto parsed = parseReportDescriptor(n.descriptor);
        // A node whose descriptor we cannot read still gets one path, so it can be named and skipped.
        const int count = parsed.ok() ? static_cast<int>(parsed.collections.size()) : 1;
        for (int i = 0; i < std::max(count, 1); ++i)
            paths_.push_back(collectionPath(n.node, n.vendorId, n.productId, i, count));
    }
    return true;
}

std::shared_ptr<RawNode> HidDeviceRecord::node() const {
    std::lock_guard lock(nodeMutex_);
    return node_;
}

HidDeviceRecord::Active HidDeviceRecord::active() const {
    std::lock_guard lock(nodeMutex_);
    return {node_, reportIds_};
}

bool HidDeviceRecord::isOpen() const {
    return node() != nullptr;
}

void HidDeviceRecord::freeLayout() {
    attributes_ = {};
    caps_ = {};
    collection_ = {};
    for (auto& v : items_) v.clear();
    decoder_ = {};
    inputBuffer_.clear();
    outputBuffer_.clear();
    featureBuffer_.clear();
}

void HidDeviceRecord::closeCollection() {
    std::shared_ptr<RawNode> old;
    {
        std::lock_guard lock(nodeMutex_);
        old = std::move(node_);
        node_.reset();
        reportIds_.reset();
    }
    // A read or write that still runs holds its own reference to the node; cancel() makes it return
    // at once, and the node goes away when the last reference does.
    if (old) old->cancel();
    freeLayout();
}

bool HidDeviceRecord::openCollection() {
    closeCollection();
    const auto parts = splitCollectionPath(path_);
    unsigned access = kAccessNone;
    if (openForRead) access |= kAccessRead;
    if (openForWrite) access |= kAccessWrite;
    std::unique_ptr<RawNode> opened = backend_.open(parts.node, access, exclusive);
    if (!opened) return false;

    const NodeInfo& info = opened->info();
    auto parsed = parseReportDescriptor(info.descriptor);
    if (!parsed.ok() || parts.collectionIndex >= static_cast<int>(parsed.collections.size())) {
        opened->cancel();
        return false;
    }
    collection_ = std::move(parsed.collections[static_cast<std::size_t>(parts.collectionIndex)]);
    attributes_ = {info.vendorId, info.productId, info.version};
    caps_.usagePage = collection_.usagePage;
    caps_.usage = collection_.usage;
    caps_.inputReportLength = collection_.inputReportLength;
    caps_.outputReportLength = collection_.outputReportLength;
    caps_.featureReportLength = collection_.featureReportLength;
    auto count = [&](const auto& v) { return static_cast<std::uint16_t>(v.size()); };
    caps_.numberInputButtonCaps = count(collection_.buttonCaps[0]);
    caps_.numberInputValueCaps = count(collection_.valueCaps[0]);
    caps_.numberOutputButtonCaps = count(collection_.buttonCaps[1]);
    caps_.numberOutputValueCaps = count(collection_.valueCaps[1]);
    caps_.numberFeatureButtonCaps = count(collection_.buttonCaps[2]);
    caps_.numberFeatureValueCaps = count(collection_.valueCaps[2]);
    for (int t = 0; t < kReportTypeCount; ++t)
        items_[t] = buildDataItems(collection_, static_cast<ReportType>(t));
    decoder_ = InputDecoder(collection_, items_[static_cast<int>(ReportType::Input)]);
    inputBuffer_.assign(caps_.inputReportLength, 0);
    outputBuffer_.assign(caps_.outputReportLength, 0);
    featureBuffer_.assign(caps_.featureReportLength, 0);

    std::lock_guard lock(nodeMutex_);
    node_ = std::move(opened);
    for (auto id : collection_.reportIds) reportIds_.set(id);
    return true;
}

HidDeviceRecord::Io HidDeviceRecord::writeReport(std::span<const std::uint8_t> report,
                                                 std::chrono::milliseconds limit) {
    auto n = node();
    if (!n) return {};
    writePending_ = true;
    const IoResult r = n->write(report, limit);
    writePending_ = false;
    return {r.ok(), r.ok() ? r.bytes : 0, r.status};
}

HidDeviceRecord::Io HidDeviceRecord::readReport(std::span<std::uint8_t> buffer,
                                                std::chrono::milliseconds limit) {
    // The node and its report ids are taken together: a close from another thread may clear the
    // layout while this read waits.
    const Active a = active();
    if (!a.node || buffer.empty()) return {};
    const auto deadline = clock_->now() + limit;
    readPending_ = true;
    Io io;
    int skipped = 0;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock_->now());
        const IoResult r = a.node->read(buffer, std::max(left, std::chrono::milliseconds(0)));
        if (!r.ok()) {
            io = {false, 0, r.status};
            break;
        }
        // A node with several collections delivers all their reports; keep only ours.
        if (a.reportIds.none() || (r.bytes > 0 && a.reportIds.test(buffer[0]))) {
            io = {true, r.bytes, IoStatus::Ok};
            break;
        }
        // Past the limit only reports already waiting are read (the node gets 0 ms), so a report of ours
        // queued behind another collection's is still found, also by a read with no time at all. The
        // count keeps a flood of foreign reports from holding the read.
        if (clock_->now() > deadline || ++skipped >= kMaxSkippedReports) {
            io = {false, 0, IoStatus::Timeout};
            break;
        }
    }
    readPending_ = false;
    return io;
}

bool HidDeviceRecord::decodeInputReport(std::span<const std::uint8_t> report) {
    return decoder_.decode(collection_, items_[static_cast<int>(ReportType::Input)], report);
}

bool HidDeviceRecord::isPresent(const std::string& path, std::uint16_t vendorId,
                                std::uint16_t productId) const {
    return backend_.present(splitCollectionPath(path).node, vendorId, productId);
}

} // namespace zq::hid
