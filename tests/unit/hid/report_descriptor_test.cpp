#include "device/hid/descriptor_text.h"
#include "device/hid/report_descriptor.h"
#include "unit/hid/boot_descriptors.h"
#include "unit/hid/mini_json.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zq::hid {
namespace {

using test::kBootKeyboard;
using test::kBootMouse;
using test::kVendorAndConsumer;

ParsedDescriptor parse(std::initializer_list<std::uint8_t> bytes) {
    const std::vector<std::uint8_t> v(bytes);
    return parseReportDescriptor(v);
}

TEST(ReportDescriptor, BootKeyboardCollectionAndCaps) {
    const auto p = parseReportDescriptor(kBootKeyboard);
    ASSERT_TRUE(p.ok()) << p.error->message;
    ASSERT_EQ(p.collections.size(), 1u);
    const auto& c = p.collections[0];
    EXPECT_EQ(c.usagePage, 0x01);
    EXPECT_EQ(c.usage, 0x06);
    EXPECT_TRUE(c.reportIds.empty());
    EXPECT_EQ(c.inputReportLength, 9);  // 8 data bytes + the report-id byte
    EXPECT_EQ(c.outputReportLength, 2); // 5 LED bits + 3 padding bits
    EXPECT_EQ(c.featureReportLength, 0);

    const auto& in = c.buttonCaps[0];
    ASSERT_EQ(in.size(), 2u); // the padding byte has no capability
    EXPECT_EQ(in[0].usagePage, 0x07);
    EXPECT_EQ(in[0].usageMin, 0xE0u);
    EXPECT_EQ(in[0].usageMax, 0xE7u);
    EXPECT_FALSE(in[0].isArray);
    EXPECT_EQ(in[0].bitOffset, 0u);
    EXPECT_TRUE(in[1].isArray);
    EXPECT_EQ(in[1].usageMax, 0x65u);
    EXPECT_EQ(in[1].bitOffset, 16u);
    EXPECT_EQ(in[1].reportCount, 6u);
    EXPECT_TRUE(c.valueCaps[0].empty());
    ASSERT_EQ(c.buttonCaps[1].size(), 1u);
    EXPECT_EQ(c.buttonCaps[1][0].usagePage, 0x08);
}

TEST(ReportDescriptor, BootMouseNestedPhysicalCollection) {
    const auto p = parseReportDescriptor(kBootMouse);
    ASSERT_TRUE(p.ok()) << p.error->message;
    ASSERT_EQ(p.collections.size(), 1u); // the pointer collection is nested, not top level
    const auto& c = p.collections[0];
    EXPECT_EQ(c.usagePage, 0x01);
    EXPECT_EQ(c.usage, 0x02);
    EXPECT_EQ(c.inputReportLength, 4);
    EXPECT_EQ(c.outputReportLength, 0);
    ASSERT_EQ(c.buttonCaps[0].size(), 1u);
    EXPECT_EQ(c.buttonCaps[0][0].usagePage, 0x09);
    ASSERT_EQ(c.valueCaps[0].size(), 2u); // X and Y, one per usage
    EXPECT_EQ(c.valueCaps[0][0].usageMin, 0x30u);
    EXPECT_EQ(c.valueCaps[0][1].usageMin, 0x31u);
    EXPECT_EQ(c.valueCaps[0][1].bitOffset, 16u);
    EXPECT_EQ(c.valueCaps[0][0].logicalMin, -127);
    EXPECT_EQ(c.valueCaps[0][0].logicalMax, 127);
}

TEST(ReportDescriptor, ReportIdsExtendedUsagesAndPhysicalRange) {
    const auto p = parseReportDescriptor(kVendorAndConsumer);
    ASSERT_TRUE(p.ok()) << p.error->message;
    ASSERT_EQ(p.collections.size(), 2u);
    const auto& vendor = p.collections[0];
    EXPECT_EQ(vendor.usagePage, 0xFF00);
    EXPECT_EQ(vendor.reportIds, std::vector<std::uint8_t>{5});
    EXPECT_EQ(vendor.inputReportLength, 2);
    EXPECT_EQ(vendor.outputReportLength, 63);
    ASSERT_EQ(vendor.valueCaps[0].size(), 1u);
    EXPECT_EQ(vendor.valueCaps[0][0].physicalMax, 1000);
    EXPECT_EQ(vendor.valueCaps[1][0].logicalMax, 255); // 26 FF 00 with a minimum of 0

    const auto& consumer = p.collections[1];
    EXPECT_EQ(consumer.usagePage, 0x0C); // from the upper half of the 32-bit usage
    EXPECT_EQ(consumer.usage, 0x01);
    EXPECT_EQ(consumer.reportIds, std::vector<std::uint8_t>{6});
    EXPECT_EQ(consumer.inputReportLength, 5);
    ASSERT_EQ(consumer.buttonCaps[0].size(), 1u);
    EXPECT_EQ(consumer.buttonCaps[0][0].usageMax, 0xFFFu);
}

TEST(ReportDescriptor, GlobalStackLongItemsDelimitersAndStrayItems) {
    const auto p = parse(
        {0x81, 0x02,                         // input outside any collection: belongs to nobody
         0x05, 0x01, 0x09, 0x00, 0xA1, 0x02, // a top-level logical collection is no top-level collection
         0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0, 0x05, 0x01, 0x09, 0x04, 0xA1, 0x01, // joystick application
         0xFE, 0x02, 0x10, 0xAA, 0xBB,                                                 // a long item, skipped
         0x85, 0x01, 0x75, 0x08, 0x95, 0x02,                                           //
         0xA4,                                                       // push: id 1, 2 × 8 bits
         0x85, 0x02, 0x75, 0x10, 0x95, 0x04, 0x09, 0x30, 0x81, 0x02, // report 2: 8 bytes
         0xB4,                                                       // pop: back to id 1, 2 × 8 bits
         0xA9, 0x01, 0x09, 0x31, 0x09, 0x32, 0xA9, 0x00,             // delimiter set: Y stands for the set
         0x81, 0x02,                                                 // report 1: 2 bytes
         0xB1, 0x03,                                                 // feature report 1: 2 constant bytes
         0xC0});
    ASSERT_TRUE(p.ok()) << p.error->message;
    ASSERT_EQ(p.collections.size(), 1u);
    const auto& c = p.collections[0];
    EXPECT_EQ(c.usage, 0x04);
    EXPECT_EQ(c.reportIds, (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(c.inputReportLength, 9);
    EXPECT_EQ(c.featureReportLength, 3); // padding counts
    ASSERT_EQ(c.valueCaps[0].size(), 2u);
    EXPECT_EQ(c.valueCaps[0][1].reportId, 1);
    EXPECT_EQ(c.valueCaps[0][1].usageMin, 0x31u);
    EXPECT_EQ(c.valueCaps[0][1].reportCount, 2u);
}

struct Malformed {
    const char* name;
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> repeated(std::initializer_list<std::uint8_t> unit, std::size_t n,
                                   std::initializer_list<std::uint8_t> tail = {}) {
    std::vector<std::uint8_t> v;
    for (std::size_t i = 0; i < n; ++i) v.insert(v.end(), unit);
    v.insert(v.end(), tail);
    return v;
}

TEST(ReportDescriptor, RejectsMalformedInput) {
    std::vector<std::uint8_t> deepCollections = repeated({0xA1, 0x00}, kMaxCollectionDepth + 1);
    deepCollections.insert(deepCollections.end(), kMaxCollectionDepth + 1, 0xC0);
    const Malformed cases[] = {
        {"one-byte item cut off", {0x05}},
        {"two-byte item cut off", {0x06, 0x01}},
        {"four-byte item cut off", {0x07, 0x01, 0x02, 0x03}},
        {"long item cut off", {0xFE, 0x05, 0x10, 0x01}},
        {"long item header cut off", {0xFE, 0x05}},
        {"end collection without collection", {0xC0}},
        {"collection left open", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01}},
        {"pop without push", {0xB4}},
        {"report id 0", {0x85, 0x00}},
        {"report id above 255", {0x86, 0x00, 0x01}},
        {"absurd report count", {0x97, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"absurd report size", {0x77, 0xFF, 0xFF, 0xFF, 0x7F}},
        {"report longer than possible",
         {0xA1, 0x01, 0x77, 0x00, 0x00, 0x01, 0x00, 0x95, 0x03, 0x81, 0x02, 0xC0}},
        {"global stack too deep", repeated({0xA4}, kMaxGlobalStackDepth + 1)},
        {"collections nested too deeply", deepCollections},
        {"reserved item type", {0x0C}},
        {"reserved main tag", {0xA1, 0x01, 0xD0, 0xC0}},
        {"delimiter close without open", {0xA8, 0x00}},
        {"nested delimiter", {0xA9, 0x01, 0xA9, 0x01}},
        {"main item inside a delimiter set", {0xA1, 0x01, 0xA9, 0x01, 0x09, 0x01, 0x81, 0x02}},
        {"usage minimum above maximum", {0x19, 0x05, 0x29, 0x01}},
        {"usage minimum without maximum", {0xA1, 0x01, 0x19, 0x01, 0x75, 0x01, 0x95, 0x01, 0x81, 0x02, 0xC0}},
        {"extended range over two pages", {0x1B, 0x01, 0x00, 0x09, 0x00, 0x2B, 0x05, 0x00, 0x0C, 0x00}},
        {"too many button usages",
         [] {
             auto v = repeated({0x75, 0x01, 0x96, 0x00, 0x08, 0x81, 0x02}, 3, {0xC0}); // 3 × 2048 bits
             v.insert(v.begin(), {0xA1, 0x01});
             return v;
         }()},
    };
    for (const auto& m : cases) {
        const std::vector<std::uint8_t>& bytes = m.bytes;
        const auto p = parseReportDescriptor(bytes);
        EXPECT_FALSE(p.ok()) << m.name;
        EXPECT_TRUE(p.collections.empty()) << m.name;
        if (p.error) {
            EXPECT_LE(p.error->offset, bytes.size()) << m.name;
        }
    }
}

TEST(ReportDescriptor, EmptyDescriptorHasNoCollections) {
    const auto p = parseReportDescriptor({});
    EXPECT_TRUE(p.ok());
    EXPECT_TRUE(p.collections.empty());
}

// The reference descriptors of real devices with the collections Windows reports for them.
TEST(ReportDescriptor, MatchesWindowsOnRealDevices) {
    const char* shared = std::getenv("ZQ70_SHARED_DATA");
    const std::filesystem::path dir = std::filesystem::path(shared ? shared : "") / "hid-descriptors";
    if (!shared || !std::filesystem::is_directory(dir))
        GTEST_SKIP() << "reference descriptors not found (ZQ70_SHARED_DATA/hid-descriptors)";
    auto slurp = [](const std::filesystem::path& f) {
        std::ifstream in(f, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    int checked = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        if (e.path().extension() != ".hex") continue;
        const std::string name = e.path().stem().string();
        SCOPED_TRACE(name);
        const auto bytes = parseHexText(slurp(e.path()));
        ASSERT_TRUE(bytes.ok()) << bytes.error;
        auto jsonPath = e.path();
        jsonPath.replace_extension(".expected.json");
        const auto expected = test::JsonReader(slurp(jsonPath)).parse();
        ASSERT_EQ(bytes.bytes.size(), expected["descriptor_length"].asUint());

        const auto p = parseReportDescriptor(bytes.bytes);
        ASSERT_TRUE(p.ok()) << p.error->message << " at " << p.error->offset;
        const auto& want = expected["top_level_collections"].array();
        ASSERT_EQ(p.collections.size(), want.size());
        for (std::size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE("collection " + std::to_string(i));
            const auto& c = p.collections[i];
            EXPECT_EQ(c.usagePage, want[i]["usage_page"].asUint());
            EXPECT_EQ(c.usage, want[i]["usage"].asUint());
            std::vector<std::uint8_t> ids;
            for (const auto& id : want[i]["report_ids"].array())
                ids.push_back(static_cast<std::uint8_t>(id.asUint()));
            EXPECT_EQ(c.reportIds, ids);
            EXPECT_EQ(c.inputReportLength, want[i]["input_report_byte_length"].asUint());
            EXPECT_EQ(c.outputReportLength, want[i]["output_report_byte_length"].asUint());
            EXPECT_EQ(c.featureReportLength, want[i]["feature_report_byte_length"].asUint());
        }
        ++checked;
    }
    EXPECT_EQ(checked, 15);
}

} // namespace
} // namespace zq::hid
