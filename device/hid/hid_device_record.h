#pragma once
// HidDeviceRecord: one opened top-level collection of a HID device, over a raw-node backend.
// Platform-free: the same code runs on hidraw nodes and on the emulator's nodes.
#include "device/hid/raw_node.h"
#include "device/hid/report_descriptor.h"
#include "platform/clock.h"

#include <array>
#include <atomic>
#include <bitset>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <iterator>
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

// The usage list of a button item: size() slots (the most usages the item's page can report at once),
// holding the usages the last report set inside the item's range, in report order, and 0 in every slot
// after them. Only the usages themselves are stored, so a collection of many button items costs memory
// for what its reports set, not for every slot of every item.
class UsageList {
public:
    UsageList() = default;
    explicit UsageList(std::size_t slots) : slots_(slots) {}

    std::size_t size() const { return slots_; }
    bool empty() const { return slots_ == 0; }
    std::uint32_t operator[](std::size_t i) const { return i < kept_.size() ? kept_[i] : 0; }
    std::uint32_t at(std::size_t i) const; // throws std::out_of_range past size()
    // The slots in front of the trailing zeros (a usage 0 can stand among them).
    std::span<const std::uint32_t> kept() const { return kept_; }
    std::vector<std::uint32_t> toVector() const;
    friend bool operator==(const UsageList& a, const std::vector<std::uint32_t>& b) {
        return a.toVector() == b;
    }

    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::uint32_t;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::uint32_t;
        Iterator() = default;
        Iterator(const UsageList* list, std::size_t i) : list_(list), i_(i) {}
        std::uint32_t operator*() const { return (*list_)[i_]; }
        Iterator& operator++() {
            ++i_;
            return *this;
        }
        Iterator operator++(int) {
            Iterator old = *this;
            ++i_;
            return old;
        }
        bool operator==(const Iterator& o) const { return i_ == o.i_; }

    private:
        const UsageList* list_ = nullptr;
        std::size_t i_ = 0;
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, slots_}; }

    // Decoding: empties the list, then keeps usages while there are slots for them.
    void clear();
    bool full() const { return kept_.size() >= slots_; }
    void keep(std::uint32_t usage) { kept_.push_back(usage); }

private:
    std::size_t slots_ = 0;
    std::vector<std::uint32_t> kept_;
};

// One decoded usage (or usage range) of a report type. Built in the order: one button item per button
// capability, then one value item per value usage (a ranged value capability gives one per usage).
struct DataItem {
    bool isButton = false;
    std::uint16_t usagePage = 0;
    std::uint8_t reportId = 0;
    std::uint32_t usageMin = 0, usageMax = 0; // buttons: the range; values: min == max == the usage
    UsageList usageList;                      // buttons: the set usages, 0 after the last when not full
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

// Fills the input data items of one collection from its input reports. What a report id holds is worked
// out once, when the decoder is made: its fields in capability order, and for each usage page the
// button items that take its usages, ordered by range. A report then costs one read of each of its
// fields, plus a look-up per set usage that finds exactly the items whose range holds it, however many
// capabilities share a field or a page.
//
// A button item gets the usages of its page that the report sets inside its range, in capability
// order, as many as its list has slots. Items whose ranges overlap each get the usage; since every
// such copy costs memory and time, a collection keeps at most kMaxKeptUsages usages in the lists of all
// its items together (those of other report ids' last reports included). Real devices stay far below:
// without overlapping ranges a report keeps no more usages than it sets, a few dozen for a keyboard.
class InputDecoder {
public:
    static constexpr std::size_t kMaxKeptUsages = 16384;

    InputDecoder() = default;
    // items as buildDataItems made them for the collection's input reports.
    InputDecoder(const TopLevelCollection& collection, const std::vector<DataItem>& items);

    // False when the report is empty, the items are not the ones the decoder was made for, or a value
    // cannot be read from the report (the items after it are then left as they were).
    bool decode(const TopLevelCollection& collection, std::vector<DataItem>& items,
                std::span<const std::uint8_t> report);

private:
    // Button items of one usage page within one report id, ordered by usageMin, with a tree over
    // them (a max-tree of usageMax) that finds the items holding a usage without visiting the others.
    struct PageItems {
        std::uint16_t page = 0;
        std::vector<std::uint32_t> items;
        std::vector<std::uint32_t> mins;
        std::vector<std::uint32_t> tree; // 2 × leaves; leaf j = usageMax of items[j]
        std::size_t leaves = 0;
        // Calls f(item) for each item whose range holds the usage, while f returns true.
        template <class F> void forEachHolding(std::uint32_t usage, F&& f) const;
        template <class F>
        bool visit(std::size_t node, std::size_t from, std::size_t to, std::size_t below, std::uint32_t usage,
                   F& f) const;
    };
    // The button capabilities of one field: one variable capability, or all those of an array field.
    struct Field {
        std::uint32_t first = 0, end = 0; // positions in ReportPlan::caps
    };
    struct ReportPlan {
        std::vector<std::uint32_t> caps;     // button capability indices of this report id, in order
        std::vector<std::uint32_t> capPages; // parallel: index into pages
        std::vector<std::uint32_t> capFirst; // parallel: arrayFirstIndex, searched for array slots
        std::vector<Field> fields;
        std::vector<PageItems> pages;
        std::vector<std::uint32_t> buttonItems, valueItems;
    };

    void readField(const std::vector<ButtonCaps>& caps, const ReportPlan& plan, const Field& field,
                   std::span<const std::uint8_t> report);

    std::size_t itemCount_ = 0;
    std::array<std::int16_t, 256> planOf_{}; // report id → index into plans_ + 1; 0: no items
    std::vector<ReportPlan> plans_;
    // Scratch of decode, kept between reports so that decoding does not allocate once warmed up.
    std::vector<std::vector<std::uint32_t>> setUsages_; // per page of the report being decoded
    std::vector<std::pair<std::uint32_t, std::uint32_t>> arrayHits_,
        arraySorted_; // capability position, usage
    std::vector<std::uint32_t> arrayCounts_;
};

class HidDeviceRecord {
public:
    explicit HidDeviceRecord(RawNodeBackend& backend);
    ~HidDeviceRecord();
    HidDeviceRecord(const HidDeviceRecord&) = delete;
    HidDeviceRecord& operator=(const HidDeviceRecord&) = delete;

    // How the next open is done.
    bool openForRead = true;
    bool openForWrite = true;
    bool exclusive = false;

    // Lists one path per top-level collection of every present node.
    bool enumerateInterfaces();
    const std::vector<std::string>& paths() const { return paths_; }
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

    // Fills the input data items from one input report (byte 0 = report id); see InputDecoder.
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
    InputDecoder decoder_;
    std::vector<std::uint8_t> inputBuffer_, outputBuffer_, featureBuffer_;

    std::atomic<bool> readPending_{false};
    std::atomic<bool> writePending_{false};
};

// Builds the data items of one report type from a collection's capabilities (the described order).
std::vector<DataItem> buildDataItems(const TopLevelCollection& collection, ReportType type);
// Decodes one input report into items with a decoder made for the call (a record keeps its own).
bool decodeReport(const TopLevelCollection& collection, std::vector<DataItem>& items,
                  std::span<const std::uint8_t> report);

} // namespace zq::hid
