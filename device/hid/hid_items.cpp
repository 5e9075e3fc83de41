#include "device/hid/hid_device_record.h"
#include "device/hid/report_bits.h"

#include <algorithm>
#include <map>

namespace zq::hid {
namespace {

// The most usages one report of this type can hold on the page at once: every bit of a variable
// button field and every slot of an array field (an array split into several capabilities is one
// field, counted once).
std::uint32_t maxUsageListLength(const std::vector<ButtonCaps>& caps, std::uint16_t page) {
    std::uint32_t total = 0;
    for (std::size_t i = 0; i < caps.size(); ++i) {
        const ButtonCaps& c = caps[i];
        if (c.usagePage != page) continue;
        if (c.isArray) {
            const bool counted = std::any_of(
                caps.begin(), caps.begin() + static_cast<std::ptrdiff_t>(i), [&](const ButtonCaps& o) {
                    return o.isArray && o.usagePage == page && o.reportId == c.reportId &&
                           o.bitOffset == c.bitOffset;
                });
            if (counted) continue;
        }
        total += c.reportCount;
    }
    return total;
}

// Every usage of the page that the report has set, in capability order.
void setUsages(const std::vector<ButtonCaps>& caps, std::uint16_t page, std::uint8_t reportId,
               std::span<const std::uint8_t> report, std::vector<std::uint32_t>& out) {
    out.clear();
    for (const ButtonCaps& c : caps) {
        if (c.usagePage != page || c.reportId != reportId) continue;
        for (std::uint32_t k = 0; k < c.reportCount; ++k) {
            const auto raw = readReportBits(report, c.bitOffset + k * c.reportSize, c.reportSize);
            if (!raw) break; // a short report simply has fewer fields
            if (!c.isArray) {
                if (*raw != 0) out.push_back(c.isRange ? c.usageMin + k : c.usageMin);
                continue;
            }
            // Arrays carry indices into the field's usage list; values outside the logical range
            // mean "nothing pressed" in that slot.
            const std::int64_t v = logicalValue(*raw, c.reportSize, c.logicalMin);
            if (v < c.logicalMin || v > c.logicalMax) continue;
            const std::int64_t index = v - c.logicalMin;
            const std::int64_t first = c.arrayFirstIndex;
            const std::int64_t span = std::int64_t{c.usageMax} - c.usageMin;
            if (index < first || index > first + span) continue;
            const auto usage = static_cast<std::uint32_t>(c.usageMin + (index - first));
            if (usage != 0) out.push_back(usage); // usage 0 is "no event", and 0 ends a usage list
        }
    }
}

} // namespace

std::vector<DataItem> buildDataItems(const TopLevelCollection& collection, ReportType type) {
    const auto t = static_cast<int>(type);
    const auto& buttons = collection.buttonCaps[t];
    const auto& values = collection.valueCaps[t];
    std::vector<DataItem> items;
    std::map<std::uint16_t, std::uint32_t> listLength;
    for (std::uint32_t i = 0; i < buttons.size(); ++i) {
        const ButtonCaps& c = buttons[i];
        auto [it, fresh] = listLength.try_emplace(c.usagePage, 0);
        if (fresh) it->second = maxUsageListLength(buttons, c.usagePage);
        DataItem item;
        item.isButton = true;
        item.usagePage = c.usagePage;
        item.reportId = c.reportId;
        item.usageMin = c.usageMin;
        item.usageMax = c.usageMax;
        item.usageList.assign(it->second, 0);
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

bool decodeReport(const TopLevelCollection& collection, std::vector<DataItem>& items,
                  std::span<const std::uint8_t> report) {
    if (report.empty()) return false;
    const std::uint8_t reportId = report[0];
    const auto& buttons = collection.buttonCaps[static_cast<int>(ReportType::Input)];
    const auto& values = collection.valueCaps[static_cast<int>(ReportType::Input)];
    std::vector<std::uint32_t> set;
    for (DataItem& item : items) {
        if (item.reportId != reportId) continue;
        if (item.isButton) {
            setUsages(buttons, item.usagePage, reportId, report, set);
            std::size_t kept = 0;
            for (std::uint32_t u : set) {
                if (kept == item.usageList.size()) break;
                if (u >= item.usageMin && u <= item.usageMax) item.usageList[kept++] = u;
            }
            // 0 ends the list; the rest is cleared too, so no usage of an earlier report lingers.
            std::fill(item.usageList.begin() + static_cast<std::ptrdiff_t>(kept), item.usageList.end(), 0u);
            item.dataSet = true;
            continue;
        }
        if (item.capsIndex >= values.size()) return false;
        const ValueCaps& c = values[item.capsIndex];
        // A single usage over several fields is a value array; its value is the first element.
        const auto raw = readReportBits(report, c.bitOffset + item.valueIndex * c.reportSize, c.reportSize);
        if (!raw) return false;
        item.rawValue = static_cast<std::int32_t>(*raw);
        if (const auto scaled = scaledValue(*raw, c)) item.scaledValue = *scaled;
        item.dataSet = true;
    }
    return true;
}

} // namespace zq::hid
