// The input decoder against a straightforward model of what it must give (every button item asks for
// its page's set usages anew and filters them by its range), on the descriptors of real devices and on
// crafted ones; and the bounds a crafted descriptor meets.
#include "device/hid/descriptor_text.h"
#include "device/hid/hid_device_record.h"
#include "device/hid/report_bits.h"
#include "device/hid/report_descriptor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace zq::hid {
namespace {

namespace fs = std::filesystem;

// --- the model ---------------------------------------------------------------------------------------

struct ModelItem {
    std::vector<std::uint32_t> usageList;
    std::int32_t rawValue = 0, scaledValue = 0;
    bool dataSet = false;
};

std::uint32_t modelListLength(const std::vector<ButtonCaps>& caps, std::uint16_t page) {
    std::uint32_t total = 0;
    for (std::size_t i = 0; i < caps.size(); ++i) {
        const ButtonCaps& c = caps[i];
        if (c.usagePage != page) continue;
        bool counted = false;
        for (std::size_t j = 0; j < i && c.isArray; ++j) {
            const ButtonCaps& o = caps[j];
            counted = counted || (o.isArray && o.usagePage == page && o.reportId == c.reportId &&
                                  o.bitOffset == c.bitOffset);
        }
        if (!counted) total += c.reportCount;
    }
    return total;
}

std::vector<std::uint32_t> modelSetUsages(const std::vector<ButtonCaps>& caps, std::uint16_t page,
                                          std::uint8_t reportId, std::span<const std::uint8_t> report) {
    std::vector<std::uint32_t> out;
    for (const ButtonCaps& c : caps) {
        if (c.usagePage != page || c.reportId != reportId) continue;
        for (std::uint32_t k = 0; k < c.reportCount; ++k) {
            const auto raw =
                readReportBits(report, std::uint64_t{c.bitOffset} + k * c.reportSize, c.reportSize);
            if (!raw) break;
            if (!c.isArray) {
                if (*raw != 0) out.push_back(c.isRange ? c.usageMin + k : c.usageMin);
                continue;
            }
            const std::int64_t v = logicalValue(*raw, c.reportSize, c.logicalMin);
            if (v < c.logicalMin || v > c.logicalMax) continue;
            const std::int64_t index = v - c.logicalMin, first = c.arrayFirstIndex;
            if (index < first || index > first + (std::int64_t{c.usageMax} - c.usageMin)) continue;
            const auto usage = static_cast<std::uint32_t>(c.usageMin + (index - first));
            if (usage != 0) out.push_back(usage);
        }
    }
    return out;
}

// Items as buildDataItems lays them out, with full usage lists.
std::vector<ModelItem> modelItems(const std::vector<DataItem>& items, const TopLevelCollection& c) {
    std::vector<ModelItem> out(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].isButton)
            out[i].usageList.assign(modelListLength(c.buttonCaps[0], items[i].usagePage), 0);
    return out;
}

bool modelDecode(const TopLevelCollection& collection, const std::vector<DataItem>& layout,
                 std::vector<ModelItem>& items, std::span<const std::uint8_t> report) {
    if (report.empty()) return false;
    const std::uint8_t id = report[0];
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const DataItem& d = layout[i];
        ModelItem& m = items[i];
        if (d.reportId != id) continue;
        if (d.isButton) {
            std::size_t kept = 0;
            for (std::uint32_t u : modelSetUsages(collection.buttonCaps[0], d.usagePage, id, report)) {
                if (kept == m.usageList.size()) break;
                if (u >= d.usageMin && u <= d.usageMax) m.usageList[kept++] = u;
            }
            std::fill(m.usageList.begin() + static_cast<std::ptrdiff_t>(kept), m.usageList.end(), 0u);
            m.dataSet = true;
            continue;
        }
        const ValueCaps& c = collection.valueCaps[0].at(d.capsIndex);
        const auto raw =
            readReportBits(report, std::uint64_t{c.bitOffset} + d.valueIndex * c.reportSize, c.reportSize);
        if (!raw) return false;
        m.rawValue = static_cast<std::int32_t>(*raw);
        if (const auto s = scaledValue(*raw, c)) m.scaledValue = *s;
        m.dataSet = true;
    }
    return true;
}

// Decodes a stream of reports both ways and compares every item after every report.
void expectSameAsModel(const TopLevelCollection& c, std::uint32_t seed, int reports) {
    std::vector<DataItem> items = buildDataItems(c, ReportType::Input);
    std::vector<ModelItem> model = modelItems(items, c);
    for (std::size_t i = 0; i < items.size(); ++i)
        ASSERT_EQ(items[i].usageList.size(), model[i].usageList.size()) << "item " << i;
    InputDecoder decoder(c, items);
    std::vector<std::uint8_t> ids(c.reportIds);
    if (ids.empty()) ids.push_back(0);
    ids.push_back(0xEE); // a report id the collection does not have
    std::mt19937 random(seed);
    for (int r = 0; r < reports; ++r) {
        // Random bytes, all ones, all zeros, and now and then a report cut short.
        std::vector<std::uint8_t> report(c.inputReportLength > 0 ? c.inputReportLength : 2);
        for (auto& b : report) b = static_cast<std::uint8_t>(r % 7 == 1 ? 0xFF : r % 7 == 2 ? 0 : random());
        if (r % 5 == 4) report.resize(random() % report.size());
        if (!report.empty()) report[0] = ids[random() % ids.size()];
        SCOPED_TRACE("report " + std::to_string(r));
        ASSERT_EQ(decoder.decode(c, items, report), modelDecode(c, items, model, report));
        for (std::size_t i = 0; i < items.size(); ++i) {
            ASSERT_EQ(items[i].usageList.toVector(), model[i].usageList) << "item " << i;
            ASSERT_EQ(items[i].rawValue, model[i].rawValue) << "item " << i;
            ASSERT_EQ(items[i].scaledValue, model[i].scaledValue) << "item " << i;
            ASSERT_EQ(items[i].dataSet, model[i].dataSet) << "item " << i;
        }
    }
}

std::string slurp(const fs::path& f) {
    std::ifstream in(f, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void expectSameAsModel(const std::vector<std::uint8_t>& descriptor, const std::string& name) {
    SCOPED_TRACE(name);
    const auto parsed = parseReportDescriptor(descriptor);
    ASSERT_TRUE(parsed.ok()) << parsed.error->message;
    for (std::size_t i = 0; i < parsed.collections.size(); ++i) {
        SCOPED_TRACE("collection " + std::to_string(i));
        expectSameAsModel(parsed.collections[i], static_cast<std::uint32_t>(i + 1), 300);
    }
}

TEST(InputDecoder, GivesWhatTheModelGivesOnTheCommittedDescriptors) {
    const fs::path dir = fs::path(ZQ_SOURCE_DIR) / "tests" / "data" / "hid";
    int checked = 0;
    for (const char* name :
         {"boot_keyboard.bin", "boot_mouse.bin", "joystick_ids.bin", "vendor_consumer.bin"}) {
        ASSERT_TRUE(fs::is_regular_file(dir / name)) << (dir / name) << " is missing";
        const std::string bytes = slurp(dir / name);
        expectSameAsModel(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), name);
        ++checked;
    }
    EXPECT_EQ(checked, 4);
}

// The reference descriptors of real devices live beside the checkout (see ZQ70_SHARED_DATA).
TEST(InputDecoder, GivesWhatTheModelGivesOnRealDevices) {
    const char* shared = std::getenv("ZQ70_SHARED_DATA");
    const fs::path dir = fs::path(shared ? shared : "") / "hid-descriptors";
    if (!shared || !*shared || !fs::is_directory(dir))
        GTEST_SKIP() << "reference descriptors not found (ZQ70_SHARED_DATA/hid-descriptors)";
    int checked = 0;
    for (const auto& e : fs::directory_iterator(dir)) {
        if (e.path().extension() != ".hex") continue;
        const auto bytes = parseHexText(slurp(e.path()));
        ASSERT_TRUE(bytes.ok()) << bytes.error;
        expectSameAsModel(bytes.bytes, e.path().filename().string());
        ++checked;
    }
    EXPECT_EQ(checked, 15);
}

// --- crafted descriptors -----------------------------------------------------------------------------

std::vector<std::uint8_t> application(std::vector<std::uint8_t> body) {
    body.insert(body.begin(), {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01});
    body.push_back(0xC0);
    return body;
}

// One array field of `slots` one-byte indices whose usage list is k single usages, behind report id 1.
std::vector<std::uint8_t> arrayOfSingleUsages(std::uint32_t k, std::uint16_t slots,
                                              bool pagePerUsage = false) {
    std::vector<std::uint8_t> d = {0x85, 0x01, 0x05, 0x07, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08};
    d.insert(d.end(), {0x96, static_cast<std::uint8_t>(slots), static_cast<std::uint8_t>(slots >> 8)});
    for (std::uint32_t u = 0; u < k; ++u) {
        if (pagePerUsage) // an extended usage: page in the upper half
            d.insert(d.end(), {0x0B, static_cast<std::uint8_t>(u + 1), 0x00,
                               static_cast<std::uint8_t>(u % 5 + 1), 0xFF});
        else
            d.insert(d.end(), {0x09, static_cast<std::uint8_t>(u + 1)});
    }
    d.insert(d.end(), {0x81, 0x00});
    return application(d);
}

// k one-bit variable buttons, each a main item of its own: usage u + 1, or usage 1 for all when shared.
std::vector<std::uint8_t> separateButtons(std::uint32_t k, bool sameUsage) {
    std::vector<std::uint8_t> d = {0x05, 0x09, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x01};
    for (std::uint32_t u = 0; u < k; ++u) {
        const std::uint32_t usage = sameUsage ? 1 : u + 1;
        d.insert(d.end(),
                 {0x0A, static_cast<std::uint8_t>(usage), static_cast<std::uint8_t>(usage >> 8), 0x81, 0x02});
    }
    return application(d);
}

TEST(InputDecoder, GivesWhatTheModelGivesOnCraftedLayouts) {
    const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> cases = {
        {"array of single usages", arrayOfSingleUsages(40, 12)},
        {"array of single usages on several pages", arrayOfSingleUsages(40, 12, true)},
        {"separate buttons", separateButtons(60, false)},
        {"separate buttons of one usage", separateButtons(60, true)},
        // Ranges that overlap: a modifier range, a wide range over it and an array of keys.
        {"overlapping ranges", application({0x05, 0x07, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x19,
                                            0xE0, 0x29, 0xE7, 0x81, 0x02, 0x95, 0x10, 0x19, 0xDC, 0x29, 0xEB,
                                            0x81, 0x02, 0x95, 0x04, 0x75, 0x08, 0x26, 0xFF, 0x00, 0x19, 0x00,
                                            0x29, 0x7F, 0x09, 0xE1, 0x19, 0xE0, 0x29, 0xE7, 0x81, 0x00})},
    };
    for (const auto& [name, descriptor] : cases) expectSameAsModel(descriptor, name);
}

// K buttons open with lists that store what their reports set, not K slots each.
TEST(InputDecoder, ManySeparateButtonsCostMemoryForWhatIsSet) {
    constexpr std::uint32_t k = 4000;
    const auto parsed = parseReportDescriptor(separateButtons(k, false));
    ASSERT_TRUE(parsed.ok()) << parsed.error->message;
    const auto& c = parsed.collections.at(0);
    auto items = buildDataItems(c, ReportType::Input);
    ASSERT_EQ(items.size(), k);
    EXPECT_EQ(items[0].usageList.size(), k); // every item can report the whole page, as before
    std::vector<std::uint8_t> report(c.inputReportLength, 0xFF);
    report[0] = 0; // no report ids
    ASSERT_TRUE(decodeReport(c, items, report));
    std::size_t kept = 0;
    for (std::uint32_t i = 0; i < k; ++i) {
        kept += items[i].usageList.kept().size();
        ASSERT_EQ(items[i].usageList[0], i + 1);
        ASSERT_EQ(items[i].usageList[1], 0u);
    }
    EXPECT_EQ(kept, k);
}

// Ranges that all overlap would copy every set usage into every item; the copies are bounded.
TEST(InputDecoder, UsagesKeptByOverlappingItemsAreBounded) {
    constexpr std::uint32_t k = 1000; // 1000 items × 1000 copies of usage 1, unbounded
    const auto parsed = parseReportDescriptor(separateButtons(k, true));
    ASSERT_TRUE(parsed.ok()) << parsed.error->message;
    const auto& c = parsed.collections.at(0);
    auto items = buildDataItems(c, ReportType::Input);
    InputDecoder decoder(c, items);
    std::vector<std::uint8_t> report(c.inputReportLength, 0xFF);
    report[0] = 0; // no report ids
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(decoder.decode(c, items, report));
        std::size_t kept = 0;
        for (const auto& item : items) kept += item.usageList.kept().size();
        EXPECT_EQ(kept, InputDecoder::kMaxKeptUsages);
        // Usage by usage, every item takes its copy while there is room: all of them get the first.
        for (const auto& item : items) ASSERT_EQ(item.usageList[0], 1u);
    }
    report.assign(report.size(), 0);
    ASSERT_TRUE(decoder.decode(c, items, report));
    for (const auto& item : items) ASSERT_EQ(item.usageList[0], 0u);
}

TEST(InputDecoder, RefusesItemsItWasNotMadeFor) {
    const auto parsed = parseReportDescriptor(arrayOfSingleUsages(3, 2));
    const auto& c = parsed.collections.at(0);
    auto items = buildDataItems(c, ReportType::Input);
    InputDecoder decoder(c, items);
    items.pop_back();
    EXPECT_FALSE(decoder.decode(c, items, std::vector<std::uint8_t>{1, 1, 2}));
}

// An array field's usage list can be as long as the descriptor; its capabilities are bounded.
TEST(InputDecoder, TheParserBoundsTheButtonCapabilities) {
    const auto arrayOf = [](std::size_t usages) {
        std::vector<std::uint8_t> d = {0x05, 0x07, 0x15, 0x00, 0x26, 0xFF, 0x7F, 0x75, 0x10, 0x95, 0x02};
        for (std::size_t u = 1; u <= usages; ++u)
            d.insert(d.end(), {0x0A, static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8)});
        d.insert(d.end(), {0x81, 0x00});
        return application(d);
    };
    EXPECT_TRUE(parseReportDescriptor(arrayOf(kMaxButtonCaps)).ok());
    const auto parsed = parseReportDescriptor(arrayOf(kMaxButtonCaps + 1));
    ASSERT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.error->message, "too many button capabilities in one report type");
}

} // namespace
} // namespace zq::hid
