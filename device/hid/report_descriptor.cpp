#include "device/hid/report_descriptor.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <limits>
#include <map>
#include <set>

namespace zq::hid {
namespace {

// Short item prefix: bits 0-1 data size code (0, 1, 2, 4 bytes), bits 2-3 type, bits 4-7 tag.
constexpr std::uint8_t kLongItemPrefix = 0xFE;
enum ItemType : std::uint8_t { kTypeMain = 0, kTypeGlobal = 1, kTypeLocal = 2, kTypeReserved = 3 };

enum MainTag : std::uint8_t {
    kMainInput = 0x8,
    kMainOutput = 0x9,
    kMainCollection = 0xA,
    kMainFeature = 0xB,
    kMainEndCollection = 0xC,
};
enum GlobalTag : std::uint8_t {
    kGlobalUsagePage = 0x0,
    kGlobalLogicalMin = 0x1,
    kGlobalLogicalMax = 0x2,
    kGlobalPhysicalMin = 0x3,
    kGlobalPhysicalMax = 0x4,
    kGlobalReportSize = 0x7,
    kGlobalReportId = 0x8,
    kGlobalReportCount = 0x9,
    kGlobalPush = 0xA,
    kGlobalPop = 0xB,
};
enum LocalTag : std::uint8_t {
    kLocalUsage = 0x0,
    kLocalUsageMin = 0x1,
    kLocalUsageMax = 0x2,
    kLocalDelimiter = 0xA,
};

constexpr std::uint32_t kMainFlagConstant = 0x01;
constexpr std::uint32_t kMainFlagVariable = 0x02;
constexpr std::uint32_t kCollectionApplication = 0x01;
constexpr std::uint64_t kMaxReportBits = std::uint64_t{kMaxReportBytes} * 8;
constexpr std::size_t kReportIdSlots = 256;

struct Item {
    std::uint8_t type = 0;
    std::uint8_t tag = 0;
    std::uint8_t size = 0; // data bytes: 0, 1, 2 or 4
    std::uint32_t data = 0;
};

// A number as the item gave it; whether it is signed depends on its partner (see logicalRange).
struct RawNumber {
    std::uint32_t data = 0;
    std::uint8_t size = 0;
};

std::int64_t signExtended(RawNumber n) {
    switch (n.size) {
    case 1:
        return static_cast<std::int8_t>(n.data);
    case 2:
        return static_cast<std::int16_t>(n.data);
    case 4:
        return static_cast<std::int32_t>(n.data);
    default:
        return 0;
    }
}

std::int32_t clampToInt32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// Many descriptors write a maximum of 255 as the one byte 0xFF; with a non-negative minimum the maximum
// is read unsigned, as every HID stack in use does.
std::pair<std::int32_t, std::int32_t> numberRange(RawNumber min, RawNumber max) {
    const std::int64_t lo = signExtended(min);
    const std::int64_t hi = lo < 0 ? signExtended(max) : static_cast<std::int64_t>(max.data);
    return {clampToInt32(lo), clampToInt32(hi)};
}

struct Globals {
    std::uint16_t usagePage = 0;
    RawNumber logicalMin, logicalMax, physicalMin, physicalMax;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0;
};

struct UsageEntry {
    std::uint32_t min = 0;
    std::uint32_t max = 0;
    bool isRange = false;
    bool hasPage = false; // a 32-bit usage carries its own page in the upper half
    std::uint16_t page = 0;
};

struct Locals {
    std::vector<UsageEntry> usages;
    std::optional<Item> usageMin, usageMax;
    bool inDelimiter = false;
    bool delimiterTookUsage = false;
};

// Per top-level collection while parsing: the bit length of every report so far.
struct CollectionWork {
    TopLevelCollection tlc;
    std::array<std::array<std::uint64_t, kReportIdSlots>, kReportTypeCount> bits{};
    std::array<std::bitset<kReportIdSlots>, kReportTypeCount> seen{};
    std::array<std::map<std::uint16_t, std::uint32_t>, kReportTypeCount> buttonUsagesPerPage;
    std::array<std::uint32_t, kReportTypeCount> valueUsages{};
};

class Parser {
public:
    explicit Parser(std::span<const std::uint8_t> d) : d_(d) {}

    ParsedDescriptor run() {
        ParsedDescriptor out;
        while (pos_ < d_.size() && !error_) step();
        if (!error_ && depth_ != 0) fail(d_.size(), "collection not closed at the end of the descriptor");
        if (error_) {
            out.error = error_;
            return out;
        }
        for (auto& w : work_) out.collections.push_back(finish(w));
        return out;
    }

private:
    void fail(std::size_t offset, std::string message) {
        if (!error_) error_ = DescriptorError{offset, std::move(message)};
    }

    void step() {
        const std::size_t start = pos_;
        const std::uint8_t prefix = d_[pos_];
        if (prefix == kLongItemPrefix) {
            // Long items: prefix, data size, tag, data. No device class defines one; skip it whole.
            if (d_.size() - pos_ < 3) return fail(start, "truncated long item");
            const std::size_t size = d_[pos_ + 1];
            if (d_.size() - pos_ - 3 < size) return fail(start, "truncated long item");
            pos_ += 3 + size;
            return;
        }
        Item item;
        const std::uint8_t sizeCode = prefix & 0x03;
        item.size = sizeCode == 3 ? 4 : sizeCode;
        item.type = (prefix >> 2) & 0x03;
        item.tag = prefix >> 4;
        if (d_.size() - pos_ - 1 < item.size) return fail(start, "truncated item");
        for (std::uint8_t i = 0; i < item.size; ++i)
            item.data |= static_cast<std::uint32_t>(d_[pos_ + 1 + i]) << (8 * i);
        pos_ += 1 + item.size;
        switch (item.type) {
        case kTypeMain:
            mainItem(item, start);
            break;
        case kTypeGlobal:
            globalItem(item, start);
            break;
        case kTypeLocal:
            localItem(item, start);
            break;
        default:
            fail(start, "reserved item type");
        }
    }

    void mainItem(const Item& item, std::size_t at) {
        if (locals_.inDelimiter) return fail(at, "main item inside an open delimiter set");
        if (locals_.usageMin || locals_.usageMax) return fail(at, "usage minimum without its maximum");
        switch (item.tag) {
        case kMainInput:
            field(ReportType::Input, item, at);
            break;
        case kMainOutput:
            field(ReportType::Output, item, at);
            break;
        case kMainFeature:
            field(ReportType::Feature, item, at);
            break;
        case kMainCollection:
            openCollection(item, at);
            break;
        case kMainEndCollection:
            if (depth_ == 0) return fail(at, "end collection without collection");
            if (--depth_ == 0) current_ = -1;
            break;
        default:
            return fail(at, "reserved main item");
        }
        locals_ = {};
    }

    std::uint16_t pageOf(const UsageEntry& u) const { return u.hasPage ? u.page : globals_.usagePage; }

    void openCollection(const Item& item, std::size_t at) {
        if (depth_ >= kMaxCollectionDepth) return fail(at, "collections nested too deeply");
        if (depth_ == 0) {
            current_ = -1;
            if ((item.data & 0xFF) == kCollectionApplication) {
                CollectionWork w;
                if (!locals_.usages.empty()) {
                    const UsageEntry& u = locals_.usages.front();
                    w.tlc.usagePage = pageOf(u);
                    w.tlc.usage = static_cast<std::uint16_t>(u.min);
                } else {
                    w.tlc.usagePage = globals_.usagePage;
                }
                work_.push_back(std::move(w));
                current_ = static_cast<int>(work_.size()) - 1;
            }
        }
        ++depth_;
    }

    void field(ReportType type, const Item& item, std::size_t at) {
        // Main items outside a top-level application collection belong to no collection's report.
        if (current_ < 0) return;
        CollectionWork& w = work_[static_cast<std::size_t>(current_)];
        const int t = static_cast<int>(type);
        const std::uint8_t id = globals_.reportId;
        const std::uint64_t bits = std::uint64_t{globals_.reportSize} * globals_.reportCount;
        const std::uint64_t offset = w.bits[t][id];
        if (bits > kMaxReportBits - offset) return fail(at, "report longer than the largest report possible");
        w.bits[t][id] = offset + bits;
        w.seen[t].set(id);
        // Constant fields are padding: they take room in the report and have no usage.
        if ((item.data & kMainFlagConstant) || globals_.reportCount == 0 || globals_.reportSize == 0) return;

        std::vector<UsageEntry> usages = locals_.usages;
        if (usages.empty()) usages.push_back(UsageEntry{});
        const auto [logicalMin, logicalMax] = numberRange(globals_.logicalMin, globals_.logicalMax);
        const auto [physicalMin, physicalMax] = numberRange(globals_.physicalMin, globals_.physicalMax);
        const bool isArray = (item.data & kMainFlagVariable) == 0;
        const bool isButton = isArray || globals_.reportSize == 1;
        const auto offset32 = static_cast<std::uint32_t>(offset);

        if (isArray) {
            // One capability per usage or range, all sharing the field; the field's values index the
            // concatenated usage list.
            if (usages.size() > kMaxButtonCaps - std::min(w.tlc.buttonCaps[t].size(), kMaxButtonCaps))
                return fail(at, "too many button capabilities in one report type");
            std::uint64_t position = 0;
            std::set<std::uint16_t> pages;
            for (const auto& u : usages) {
                ButtonCaps c;
                c.usagePage = pageOf(u);
                c.reportId = id;
                c.usageMin = u.min;
                c.usageMax = u.max;
                c.isRange = u.isRange;
                c.isArray = true;
                c.arrayFirstIndex = static_cast<std::uint32_t>(std::min<std::uint64_t>(position, UINT32_MAX));
                c.bitOffset = offset32;
                c.reportSize = globals_.reportSize;
                c.reportCount = globals_.reportCount;
                c.logicalMin = logicalMin;
                c.logicalMax = logicalMax;
                w.tlc.buttonCaps[t].push_back(c);
                position += std::uint64_t{u.max} - u.min + 1;
                pages.insert(c.usagePage);
            }
            for (auto p : pages) countButtonUsages(w, t, p, globals_.reportCount, at);
            return;
        }

        // Variable fields: usages are handed out to the fields in order; a range covers as many fields
        // as it has usages, and the last usage or range takes every field left over.
        std::uint32_t remaining = globals_.reportCount;
        std::uint32_t consumed = 0;
        for (std::size_t i = 0; i < usages.size() && remaining > 0; ++i) {
            UsageEntry u = usages[i];
            const std::uint64_t rangeSize = std::uint64_t{u.max} - u.min + 1;
            const bool last = i + 1 == usages.size();
            const std::uint32_t take =
                last ? remaining : static_cast<std::uint32_t>(std::min<std::uint64_t>(rangeSize, remaining));
            if (rangeSize > take) u.max = u.min + take - 1;
            const std::uint32_t bitOffset = offset32 + consumed * globals_.reportSize;
            if (isButton) {
                if (w.tlc.buttonCaps[t].size() >= kMaxButtonCaps)
                    return fail(at, "too many button capabilities in one report type");
                ButtonCaps c;
                c.usagePage = pageOf(u);
                c.reportId = id;
                c.usageMin = u.min;
                c.usageMax = u.max;
                c.isRange = u.isRange;
                c.bitOffset = bitOffset;
                c.reportSize = globals_.reportSize;
                c.reportCount = take;
                c.logicalMin = logicalMin;
                c.logicalMax = logicalMax;
                w.tlc.buttonCaps[t].push_back(c);
                countButtonUsages(w, t, c.usagePage, take, at);
            } else {
                ValueCaps c;
                c.usagePage = pageOf(u);
                c.reportId = id;
                c.usageMin = u.min;
                c.usageMax = u.max;
                c.isRange = u.isRange;
                c.bitOffset = bitOffset;
                c.reportSize = globals_.reportSize;
                c.reportCount = take;
                c.logicalMin = logicalMin;
                c.logicalMax = logicalMax;
                c.physicalMin = physicalMin;
                c.physicalMax = physicalMax;
                w.tlc.valueCaps[t].push_back(c);
                w.valueUsages[t] += u.max - u.min + 1;
                if (w.valueUsages[t] > kMaxValueUsages)
                    return fail(at, "too many value usages in one report type");
            }
            consumed += take;
            remaining -= take;
        }
    }

    void countButtonUsages(CollectionWork& w, int t, std::uint16_t page, std::uint32_t n, std::size_t at) {
        auto& total = w.buttonUsagesPerPage[t][page];
        if (n > kMaxUsageListLength - std::min(total, kMaxUsageListLength))
            return fail(at, "too many button usages on one usage page");
        total += n;
    }

    void globalItem(const Item& item, std::size_t at) {
        const RawNumber n{item.data, item.size};
        switch (item.tag) {
        case kGlobalUsagePage:
            globals_.usagePage = static_cast<std::uint16_t>(item.data);
            break;
        case kGlobalLogicalMin:
            globals_.logicalMin = n;
            break;
        case kGlobalLogicalMax:
            globals_.logicalMax = n;
            break;
        case kGlobalPhysicalMin:
            globals_.physicalMin = n;
            break;
        case kGlobalPhysicalMax:
            globals_.physicalMax = n;
            break;
        case kGlobalReportSize:
            if (item.data > kMaxReportBits) return fail(at, "report size too large");
            globals_.reportSize = item.data;
            break;
        case kGlobalReportCount:
            if (item.data > kMaxReportBits) return fail(at, "report count too large");
            globals_.reportCount = item.data;
            break;
        case kGlobalReportId:
            if (item.data == 0 || item.data > 0xFF) return fail(at, "report id must be 1 to 255");
            globals_.reportId = static_cast<std::uint8_t>(item.data);
            break;
        case kGlobalPush:
            if (stack_.size() >= kMaxGlobalStackDepth) return fail(at, "global stack too deep");
            stack_.push_back(globals_);
            break;
        case kGlobalPop:
            if (stack_.empty()) return fail(at, "pop without push");
            globals_ = stack_.back();
            stack_.pop_back();
            break;
        default:
            break; // unit, unit exponent and reserved tags do not shape reports
        }
    }

    void localItem(const Item& item, std::size_t at) {
        switch (item.tag) {
        case kLocalUsage:
            addUsage(entryOf(item, item));
            break;
        case kLocalUsageMin:
            locals_.usageMin = item;
            completeRange(at);
            break;
        case kLocalUsageMax:
            locals_.usageMax = item;
            completeRange(at);
            break;
        case kLocalDelimiter:
            if (item.data == 1) {
                if (locals_.inDelimiter) return fail(at, "nested delimiter set");
                locals_.inDelimiter = true;
                locals_.delimiterTookUsage = false;
            } else if (item.data == 0) {
                if (!locals_.inDelimiter) return fail(at, "delimiter close without open");
                locals_.inDelimiter = false;
            } else {
                return fail(at, "bad delimiter value");
            }
            break;
        default:
            break; // designators and strings name things; they do not shape reports
        }
    }

    static UsageEntry entryOf(const Item& min, const Item& max) {
        UsageEntry u;
        const bool extended = min.size == 4 || max.size == 4;
        u.hasPage = extended;
        u.page = static_cast<std::uint16_t>((min.size == 4 ? min.data : max.data) >> 16);
        u.min = extended ? (min.data & 0xFFFF) : min.data;
        u.max = extended ? (max.data & 0xFFFF) : max.data;
        return u;
    }

    void completeRange(std::size_t at) {
        if (!locals_.usageMin || !locals_.usageMax) return;
        const Item lo = *locals_.usageMin, hi = *locals_.usageMax;
        locals_.usageMin.reset();
        locals_.usageMax.reset();
        if (lo.size == 4 && hi.size == 4 && (lo.data >> 16) != (hi.data >> 16))
            return fail(at, "usage range spans two usage pages");
        UsageEntry u = entryOf(lo, hi);
        if (u.min > u.max) return fail(at, "usage minimum above usage maximum");
        u.isRange = true;
        addUsage(u);
    }

    void addUsage(const UsageEntry& u) {
        // Within a delimiter set the usages are alternatives; the first one stands for the set.
        if (locals_.inDelimiter) {
            if (locals_.delimiterTookUsage) return;
            locals_.delimiterTookUsage = true;
        }
        locals_.usages.push_back(u);
    }

    static TopLevelCollection finish(CollectionWork& w) {
        TopLevelCollection tlc = std::move(w.tlc);
        std::uint16_t* lengths[kReportTypeCount] = {&tlc.inputReportLength, &tlc.outputReportLength,
                                                    &tlc.featureReportLength};
        std::bitset<kReportIdSlots> ids;
        for (int t = 0; t < kReportTypeCount; ++t) {
            ids |= w.seen[t];
            std::uint64_t longest = 0;
            for (std::size_t id = 0; id < kReportIdSlots; ++id)
                if (w.seen[t][id]) longest = std::max(longest, (w.bits[t][id] + 7) / 8 + 1);
            *lengths[t] = static_cast<std::uint16_t>(longest);
        }
        for (std::size_t id = 1; id < kReportIdSlots; ++id)
            if (ids[id]) tlc.reportIds.push_back(static_cast<std::uint8_t>(id));
        return tlc;
    }

    std::span<const std::uint8_t> d_;
    std::size_t pos_ = 0;
    std::optional<DescriptorError> error_;
    Globals globals_;
    std::vector<Globals> stack_;
    Locals locals_;
    std::size_t depth_ = 0;
    int current_ = -1;
    std::vector<CollectionWork> work_;
};

} // namespace

ParsedDescriptor parseReportDescriptor(std::span<const std::uint8_t> descriptor) {
    return Parser(descriptor).run();
}

bool usesReportIds(std::span<const std::uint8_t> descriptor) {
    const ParsedDescriptor parsed = parseReportDescriptor(descriptor);
    if (!parsed.ok()) return true;
    for (const auto& c : parsed.collections)
        if (!c.reportIds.empty()) return true;
    return false;
}

} // namespace zq::hid
