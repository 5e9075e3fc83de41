#pragma once
// Report-descriptor parser: turns the raw descriptor of a node into its top-level collections with the
// capabilities, report lengths and data items that the rest of the program needs. Pure and bounded:
// it never reads past its input and reports malformed input as an error.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zq::hid {

enum class ReportType { Input = 0, Output = 1, Feature = 2 };
inline constexpr int kReportTypeCount = 3;

// One main item's field of a report, as the descriptor laid it out.
struct ButtonCaps {
    std::uint16_t usagePage = 0;
    std::uint8_t reportId = 0;
    std::uint32_t usageMin = 0; // usage ids within the page; min == max for a single usage
    std::uint32_t usageMax = 0;
    bool isRange = false;
    bool isArray = false; // an array field reports usage indices, a variable field one bit per usage
    std::uint32_t arrayFirstIndex = 0; // arrays: position of usageMin in the field's whole usage list
    std::uint32_t bitOffset = 0;       // within the report, after the report-id byte
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::int32_t logicalMin = 0;
    std::int32_t logicalMax = 0;
};

struct ValueCaps {
    std::uint16_t usagePage = 0;
    std::uint8_t reportId = 0;
    std::uint32_t usageMin = 0;
    std::uint32_t usageMax = 0;
    bool isRange = false;
    std::uint32_t bitOffset = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::int32_t logicalMin = 0;
    std::int32_t logicalMax = 0;
    std::int32_t physicalMin = 0;
    std::int32_t physicalMax = 0;
};

struct TopLevelCollection {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::vector<std::uint8_t> reportIds; // ascending; empty when the device uses no report ids
    // Largest report of the type in bytes plus one byte for the report id; 0 when there is none.
    std::uint16_t inputReportLength = 0;
    std::uint16_t outputReportLength = 0;
    std::uint16_t featureReportLength = 0;
    std::vector<ButtonCaps> buttonCaps[kReportTypeCount];
    std::vector<ValueCaps> valueCaps[kReportTypeCount];
};

struct DescriptorError {
    std::size_t offset = 0; // byte offset of the offending item
    std::string message;
};

struct ParsedDescriptor {
    std::vector<TopLevelCollection> collections;
    std::optional<DescriptorError> error; // set when the descriptor is malformed; collections then empty
    bool ok() const { return !error.has_value(); }
};

// Bounds that keep a hostile descriptor from costing more than a real one could. Real devices stay far
// below them; the report bound is the largest report the Linux HID core moves at all.
inline constexpr std::size_t kMaxGlobalStackDepth = 16;
inline constexpr std::size_t kMaxCollectionDepth = 32;
inline constexpr std::uint32_t kMaxReportBytes = 16384;
// Usages one report type of a collection can return on one page at once (the usage-list length).
inline constexpr std::uint32_t kMaxUsageListLength = 4096;
// Value usages one report type of a collection can hold (one data item each).
inline constexpr std::uint32_t kMaxValueUsages = 65536;
// Button capabilities (usages or usage ranges) one report type of a collection can hold, one data item
// each. A descriptor of the largest size the kernel hands on (4096 bytes) cannot describe more.
inline constexpr std::size_t kMaxButtonCaps = 4096;

ParsedDescriptor parseReportDescriptor(std::span<const std::uint8_t> descriptor);

// Whether the device numbers its reports. A node whose reports carry no id sends and receives them on
// hidraw without the id byte; a descriptor that cannot be parsed counts as numbered.
bool usesReportIds(std::span<const std::uint8_t> descriptor);

} // namespace zq::hid
