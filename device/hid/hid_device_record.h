#pragma once
// HidDeviceRecord: one opened top-level collection of a HID device, over a raw-node backend.
// Platform-free: the same code runs on hidraw nodes and on the emulator's nodes.
#include "device/hid/raw_node.h"
#include "device/hid/report_descriptor.h"
#include "platform/clock.h"

#include <bitset>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace zq::hid {

struct Attributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
};

struct Capabilities {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t inputReportLength = 0;
    std::uint16_t outputReportLength = 0;
    std::uint16_t featureReportLength = 0;
    std::uint16_t numberInputButtonCaps = 0;
    std::uint16_t numberInputValueCaps = 0;
    std::uint16_t numberOutputButtonCaps = 0;
    std::uint16_t numberOutputValueCaps = 0;
    std::uint16_t numberFeatureButtonCaps = 0;
    std::uint16_t numberFeatureValueCaps = 0;
};

// One decoded usage (or usage range) of a report type. Built in the order: one button item per button
// capability, then one value item per value usage (a ranged value capability gives one per usage).
struct DataItem {
    bool isButton = false;
    std::uint16_t usagePage = 0;
    std::uint8_t reportId = 0;
    std::uint32_t usageMin = 0, usageMax = 0; // buttons: the range; values: min == max == the usage
    std::vector<std::uint32_t> usageList;     // buttons: the set usages, 0 after the last when not full
    std::int32_t rawValue = 0;                // values
    std::int32_t scaledValue = 0;             // values; physical range scaled, raw when there is none
    bool dataSet = false;
    // Where the item sits in its report (used by the decoder).
    std::uint32_t capsIndex = 0;
    std::uint32_t valueIndex = 0;
};

// Collection path text, Windows-style so the "vid_"/"pid_" pre-filter works on it unchanged:
// "<node>#vid_0c45&pid_7684&col02" (the &colNN part only when the node has several collections).
std::string collectionPath(const std::string& node, std::uint16_t vendorId, std::uint16_t productId,
                           int collectionIndex, int collectionCount);
struct PathParts {
    std::string node;
    int collectionIndex = 0; // 0-based
};
PathParts splitCollectionPath(const std::string& path);

class HidDeviceRecord {
public:
    explicit HidDeviceRecord(RawNodeBackend& backend);
    ~HidDeviceRecord();
    HidDeviceRecord(const HidDeviceRecord&) = delete;
    HidDeviceRecord& operator=(const HidDeviceRecord&) = delete;

    // How the next open is done.
    bool openForRead = true;
    bool openForWrite = true;
    bool overlapped = true;
    bool exclusive = false;

    // Lists one path per top-level collection of every present node; the cursor starts at 0.
    bool enumerateInterfaces();
    const std::vector<std::string>& paths() const { return paths_; }
    std::size_t cursor = 0;
    void freePaths();

    void setPath(std::string path) { path_ = std::move(path); }
    const std::string& path() const { return path_; }

    // Opens path() with the mode flags; closes any earlier open first. Fills attributes, capabilities
    // and the data items of all three report types.
    bool openCollection();
    // Wakes a waiting read or write, frees the layout and closes the node. Safe from another thread.
    void closeCollection();
    bool isOpen() const;

    struct Io {
        bool ok = false;
        std::size_t bytes = 0;
        IoStatus status = IoStatus::Error;
    };
    static constexpr std::chrono::milliseconds kWriteLimit{1000};
    // Reports of the node's other collections one read skips at most (hidraw queues 64 per handle).
    static constexpr int kMaxSkippedReports = 64;
    Io writeReport(std::span<const std::uint8_t> report, std::chrono::milliseconds limit = kWriteLimit);
    // Reads the next input report of this collection, skipping reports whose id belongs to another
    // collection of the node, within the limit.
    Io readReport(std::span<std::uint8_t> buffer, std::chrono::milliseconds limit);

    bool readPending() const { return readPending_.load(); }
    bool writePending() const { return writePending_.load(); }

    // Fills the input data items from one input report (byte 0 = report id).
    bool decodeInputReport(std::span<const std::uint8_t> report);

    // Presence test of a path: the node still exists and belongs to the same device.
    bool isPresent(const std::string& path, std::uint16_t vendorId, std::uint16_t productId) const;

    const Attributes& attributes() const { return attributes_; }
    const Capabilities& caps() const { return caps_; }
    const TopLevelCollection& collection() const { return collection_; }
    std::vector<DataItem>& items(ReportType t) { return items_[static_cast<int>(t)]; }
    const std::vector<DataItem>& items(ReportType t) const { return items_[static_cast<int>(t)]; }
    std::vector<std::uint8_t>& inputReportBuffer() { return inputBuffer_; }

    RawNodeBackend& backend() { return backend_; }
    // The clock that bounds readReport's wait while it skips other collections' reports.
    void setClock(platform::Clock& clock) { clock_ = &clock; }

private:
    void freeLayout();
    std::shared_ptr<RawNode> node() const;

    RawNodeBackend& backend_;
    std::vector<std::string> paths_;
    std::string path_;

    struct Active {
        std::shared_ptr<RawNode> node;
        std::bitset<256> reportIds; // the input reports a read keeps; none set: every report
    };
    Active active() const;

    platform::Clock* clock_;
    // Guards node_ and reportIds_, which a read takes as one snapshot; I/O runs outside it so that a
    // close from another thread can cancel a waiting read.
    mutable std::mutex nodeMutex_;
    std::shared_ptr<RawNode> node_;
    std::bitset<256> reportIds_;

    Attributes attributes_;
    Capabilities caps_;
    TopLevelCollection collection_;
    std::vector<DataItem> items_[kReportTypeCount];
    std::vector<std::uint8_t> inputBuffer_, outputBuffer_, featureBuffer_;

    std::atomic<bool> readPending_{false};
    std::atomic<bool> writePending_{false};
};

// Builds the data items of one report type from a collection's capabilities (the described order).
std::vector<DataItem> buildDataItems(const TopLevelCollection& collection, ReportType type);
// Decodes one input report into items; false when a value cannot be read from the report.
bool decodeReport(const TopLevelCollection& collection, std::vector<DataItem>& items,
                  std::span<const std::uint8_t> report);

} // namespace zq::hid
