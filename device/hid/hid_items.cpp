#include "device/hid/hid_device_record.h"
#include "device/hid/report_bits.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <stdexcept>
#include <tuple>

namespace zq::hid {

std::uint32_t UsageList::at(std::size_t i) const {
    if (i >= slots_) throw std::out_of_range("usage list slot " + std::to_string(i));
    return (*this)[i];
}

std::vector<std::uint32_t> UsageList::toVector() const {
    std::vector<std::uint32_t> all(slots_, 0);
    std::copy_n(kept_.begin(), std::min(kept_.size(), slots_), all.begin());
    return all;
}

void UsageList::clear() {
    // What stays allocated follows what the list really held, so one report that set many usages does
    // not keep its memory for good.
    if (kept_.capacity() > 2 * kept_.size() + 16) kept_.shrink_to_fit();
    kept_.clear();
}

namespace {

// The most usages one report of this type can hold on each page at once: every bit of a variable
// button field and every slot of an array field (an array split into several capabilities is one
// field, counted once).
std::map<std::uint16_t, std::uint32_t> maxUsageListLengths(const std::vector<ButtonCaps>& caps) {
    std::map<std::uint16_t, std::uint32_t> lengths;
    std::set<std::tuple<std::uint16_t, std::uint8_t, std::uint32_t>> arrayFields;
    for (const ButtonCaps& c : caps) {
        auto& total = lengths[c.usagePage];
        if (c.isArray && !arrayFields.emplace(c.usagePage, c.reportId, c.bitOffset).second) continue;
        total += c.reportCount;
    }
    return lengths;
}

} // namespace

std::vector<DataItem> buildDataItems(const TopLevelCollection& collection, ReportType type) {
    const auto t = static_cast<int>(type);
    const auto& buttons = collection.buttonCaps[t];
    const auto& values = collection.valueCaps[t];
    std::vector<DataItem> items;
    const auto listLength = maxUsageListLengths(buttons);
    for (std::uint32_t i = 0; i < buttons.size(); ++i) {
        const ButtonCaps& c = buttons[i];
        DataItem item;
        item.isButton = true;
        item.usagePage = c.usagePage;
        item.reportId = c.reportId;
        item.usageMin = c.usageMin;
        item.usageMax = c.usageMax;
        item.usageList = UsageList(listLength.at(c.usagePage));
        item.capsIndex = i;
        items.push_back(std::move(item));
    }
    for (std::uint32_t i = 0; i < values.size(); ++i) {
        const ValueCaps& c = values[i];
        for (std::uint32_t u = c.usageMin; u <= c.usageMax; ++u) {
            DataItem item;
            item.usagePage = c.usagePage;
            item.reportId = c.reportId;
            item.usageMin = item.usageMax = u;
            item.capsIndex = i;
            item.valueIndex = u - c.usageMin;
            items.push_back(std::move(item));
            if (!c.isRange) break;
        }
    }
    return items;
}

// --- the decoder -------------------------------------------------------------------------------------

template <class F> void InputDecoder::PageItems::forEachHolding(std::uint32_t usage, F&& f) const {
    // Only items whose range starts at or below the usage can hold it: a prefix of the order.
    const auto below =
        static_cast<std::size_t>(std::upper_bound(mins.begin(), mins.end(), usage) - mins.begin());
    if (below > 0) visit(1, 0, leaves, below, usage, f);
}

template <class F>
bool InputDecoder::PageItems::visit(std::size_t node, std::size_t from, std::size_t to, std::size_t below,
                                    std::uint32_t usage, F& f) const {
    // Subtrees past the prefix, or whose ranges all end before the usage, hold nothing.
    if (from >= below || tree[node] < usage) return true;
    if (node >= leaves) return f(items[node - leaves]);
    const std::size_t mid = from + (to - from) / 2;
    return visit(2 * node, from, mid, below, usage, f) && visit(2 * node + 1, mid, to, below, usage, f);
}

InputDecoder::InputDecoder(const TopLevelCollection& collection, const std::vector<DataItem>& items)
    : itemCount_(items.size()) {
    const auto& caps = collection.buttonCaps[static_cast<int>(ReportType::Input)];
    const auto planFor = [&](std::uint8_t id) -> ReportPlan& {
        if (planOf_[id] == 0) {
            plans_.emplace_back();
            planOf_[id] = static_cast<std::int16_t>(plans_.size());
        }
        return plans_[static_cast<std::size_t>(planOf_[id] - 1)];
    };
    std::map<std::pair<std::uint8_t, std::uint16_t>, std::uint32_t> pageOf; // (report id, page) → index
    for (std::uint32_t i = 0; i < items.size(); ++i) {
        const DataItem& item = items[i];
        ReportPlan& plan = planFor(item.reportId);
        if (!item.isButton) {
            plan.valueItems.push_back(i);
            continue;
        }
        plan.buttonItems.push_back(i);
        const auto [at, fresh] = pageOf.try_emplace({item.reportId, item.usagePage},
                                                    static_cast<std::uint32_t>(plan.pages.size()));
        if (fresh) plan.pages.push_back(PageItems{item.usagePage, {}, {}, {}, 0});
        plan.pages[at->second].items.push_back(i);
        // The capability behind the item is one of the report's fields (or part of an array field).
        if (item.capsIndex < caps.size() && caps[item.capsIndex].reportId == item.reportId) {
            plan.caps.push_back(item.capsIndex);
            plan.capPages.push_back(at->second);
        }
    }
    for (ReportPlan& plan : plans_) {
        // Capabilities in their described order; those of one array field stand together.
        std::vector<std::uint32_t> order(plan.caps.size());
        for (std::uint32_t k = 0; k < order.size(); ++k) order[k] = k;
        std::stable_sort(order.begin(), order.end(),
                         [&](std::uint32_t a, std::uint32_t b) { return plan.caps[a] < plan.caps[b]; });
        std::vector<std::uint32_t> sortedCaps, sortedPages;
        for (std::uint32_t k : order) {
            sortedCaps.push_back(plan.caps[k]);
            sortedPages.push_back(plan.capPages[k]);
        }
        plan.caps = std::move(sortedCaps);
        plan.capPages = std::move(sortedPages);
        for (std::uint32_t cap : plan.caps) plan.capFirst.push_back(caps[cap].arrayFirstIndex);
        for (std::uint32_t k = 0; k < plan.caps.size();) {
            const ButtonCaps& c = caps[plan.caps[k]];
            std::uint32_t end = k + 1;
            if (c.isArray) {
                while (end < plan.caps.size()) {
                    const ButtonCaps& o = caps[plan.caps[end]];
                    if (!o.isArray || o.bitOffset != c.bitOffset ||
                        o.arrayFirstIndex < caps[plan.caps[end - 1]].arrayFirstIndex)
                        break;
                    ++end;
                }
            }
            plan.fields.push_back({k, end});
            k = end;
        }
        // A page's items by range start, each page's usages then reach exactly the items that hold them.
        for (PageItems& p : plan.pages) {
            std::stable_sort(p.items.begin(), p.items.end(), [&](std::uint32_t a, std::uint32_t b) {
                return items[a].usageMin < items[b].usageMin;
            });
            p.leaves = 1;
            while (p.leaves < p.items.size()) p.leaves *= 2;
            p.tree.assign(2 * p.leaves, 0);
            for (std::size_t j = 0; j < p.items.size(); ++j) {
                p.mins.push_back(items[p.items[j]].usageMin);
                p.tree[p.leaves + j] = items[p.items[j]].usageMax;
            }
            for (std::size_t n = p.leaves; n-- > 1;) p.tree[n] = std::max(p.tree[2 * n], p.tree[2 * n + 1]);
        }
    }
}

// Every usage the field sets, onto the list of its capability's page, in capability order.
void InputDecoder::readField(const std::vector<ButtonCaps>& caps, const ReportPlan& plan, const Field& field,
                             std::span<const std::uint8_t> report) {
    const ButtonCaps& c = caps[plan.caps[field.first]];
    if (!c.isArray) {
        auto& out = setUsages_[plan.capPages[field.first]];
        for (std::uint32_t k = 0; k < c.reportCount; ++k) {
            const auto raw = readReportBits(
                report, std::uint64_t{c.bitOffset} + std::uint64_t{k} * c.reportSize, c.reportSize);
            if (!raw) break; // a short report simply has fewer fields
            if (*raw != 0) out.push_back(c.isRange ? c.usageMin + k : c.usageMin);
        }
        return;
    }
    // Arrays carry indices into the field's whole usage list, which its capabilities share out in
    // order; each slot is read once and goes to the capability whose part of the list holds it.
    arrayHits_.clear();
    const auto firstBegin = plan.capFirst.begin() + field.first, firstEnd = plan.capFirst.begin() + field.end;
    for (std::uint32_t k = 0; k < c.reportCount; ++k) {
        const auto raw = readReportBits(report, std::uint64_t{c.bitOffset} + std::uint64_t{k} * c.reportSize,
                                        c.reportSize);
        if (!raw) break;
        // Values outside the logical range mean "nothing pressed" in that slot.
        const std::int64_t v = logicalValue(*raw, c.reportSize, c.logicalMin);
        if (v < c.logicalMin || v > c.logicalMax) continue;
        const std::int64_t index = v - c.logicalMin;
        if (index > std::numeric_limits<std::uint32_t>::max()) continue;
        // The last capability whose part of the list starts at or before the index.
        const auto after = std::upper_bound(firstBegin, firstEnd, static_cast<std::uint32_t>(index));
        if (after == firstBegin) continue;
        const auto lo = static_cast<std::uint32_t>(after - plan.capFirst.begin() - 1);
        const ButtonCaps& owner = caps[plan.caps[lo]];
        const std::int64_t first = owner.arrayFirstIndex;
        if (index < first || index > first + (std::int64_t{owner.usageMax} - owner.usageMin)) continue;
        const auto usage = static_cast<std::uint32_t>(owner.usageMin + (index - first));
        if (usage != 0) arrayHits_.emplace_back(lo, usage); // usage 0 is "no event", and 0 ends a usage list
    }
    // By capability, each in slot order: a counting sort over the field's capabilities.
    arrayCounts_.assign(field.end - field.first + 1, 0);
    for (const auto& hit : arrayHits_) ++arrayCounts_[hit.first - field.first + 1];
    for (std::size_t n = 1; n < arrayCounts_.size(); ++n) arrayCounts_[n] += arrayCounts_[n - 1];
    arraySorted_.resize(arrayHits_.size());
    for (const auto& hit : arrayHits_) arraySorted_[arrayCounts_[hit.first - field.first]++] = hit;
    for (const auto& [pos, usage] : arraySorted_) setUsages_[plan.capPages[pos]].push_back(usage);
}

bool InputDecoder::decode(const TopLevelCollection& collection, std::vector<DataItem>& items,
                          std::span<const std::uint8_t> report) {
    if (report.empty() || items.size() != itemCount_) return false;
    const std::int16_t which = planOf_[report[0]];
    if (which == 0) return true; // a report of no item of ours changes nothing
    const ReportPlan& plan = plans_[static_cast<std::size_t>(which - 1)];
    const auto& buttons = collection.buttonCaps[static_cast<int>(ReportType::Input)];
    const auto& values = collection.valueCaps[static_cast<int>(ReportType::Input)];

    if (!plan.buttonItems.empty()) {
        for (std::uint32_t i : plan.buttonItems) items[i].usageList.clear();
        // What the lists of the other reports' items hold counts against the bound.
        std::size_t kept = 0;
        for (const DataItem& item : items) kept += item.usageList.kept().size();
        std::size_t room = kMaxKeptUsages - std::min(kept, kMaxKeptUsages);

        if (setUsages_.size() < plan.pages.size()) setUsages_.resize(plan.pages.size());
        for (std::size_t p = 0; p < plan.pages.size(); ++p) setUsages_[p].clear();
        for (const Field& field : plan.fields) readField(buttons, plan, field, report);
        for (std::size_t p = 0; p < plan.pages.size() && room > 0; ++p) {
            for (const std::uint32_t usage : setUsages_[p]) {
                plan.pages[p].forEachHolding(usage, [&](std::uint32_t i) {
                    UsageList& list = items[i].usageList;
                    if (!list.full()) {
                        list.keep(usage);
                        --room;
                    }
                    return room > 0;
                });
                if (room == 0) break;
            }
        }
        for (std::uint32_t i : plan.buttonItems) items[i].dataSet = true;
    }
    for (std::uint32_t i : plan.valueItems) {
        DataItem& item = items[i];
        if (item.capsIndex >= values.size()) return false;
        const ValueCaps& c = values[item.capsIndex];
        // A single usage over several fields is a value array; its value is the first element.
        const auto raw = readReportBits(
            report, std::uint64_t{c.bitOffset} + std::uint64_t{item.valueIndex} * c.reportSize, c.reportSize);
        if (!raw) return false;
        item.rawValue = static_cast<std::int32_t>(*raw);
        if (const auto scaled = scaledValue(*raw, c)) item.scaledValue = *scaled;
        item.dataSet = true;
    }
    return true;
}

bool decodeReport(const TopLevelCollection& collection, std::vector<DataItem>& items,
                  std::span<const std::uint8_t> report) {
    return InputDecoder(collection, items).decode(collection, items, report);
}

} // namespace zq::hid
