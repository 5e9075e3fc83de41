#pragma once
// Reading fields out of a report: little-endian bit fields that start right after the report-id byte.
#include "device/hid/report_descriptor.h"

#include <cstdint>
#include <optional>
#include <span>

namespace zq::hid {

// The unsigned field of size bits (1..32) at bitOffset; empty when the report is too short for it or
// the field is wider than 32 bits.
std::optional<std::uint32_t> readReportBits(std::span<const std::uint8_t> report, std::uint64_t bitOffset,
                                            std::uint32_t size);

// The field as a logical value: sign-extended when the logical range goes below zero.
std::int64_t logicalValue(std::uint32_t raw, std::uint32_t size, std::int32_t logicalMin);

// The logical value mapped linearly onto the physical range (the logical value itself when the
// descriptor gives no physical range); empty when the value lies outside the logical range (a field
// in its "no data" state) or the logical range is empty.
std::optional<std::int32_t> scaledValue(std::uint32_t raw, const ValueCaps& caps);

} // namespace zq::hid
