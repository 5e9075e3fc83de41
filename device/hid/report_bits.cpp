#include "device/hid/report_bits.h"

#include <algorithm>
#include <limits>

namespace zq::hid {

std::optional<std::uint32_t> readReportBits(std::span<const std::uint8_t> report, std::uint64_t bitOffset,
                                            std::uint32_t size) {
    if (size == 0 || size > 32) return std::nullopt;
    const std::uint64_t first = 8 + bitOffset; // byte 0 is the report id
    const std::uint64_t end = first + size;
    if (end > std::uint64_t{report.size()} * 8) return std::nullopt;
    std::uint64_t value = 0;
    const std::size_t firstByte = static_cast<std::size_t>(first / 8);
    const std::size_t lastByte = static_cast<std::size_t>((end - 1) / 8);
    for (std::size_t b = lastByte + 1; b-- > firstByte;) value = (value << 8) | report[b];
    value >>= first % 8;
    return static_cast<std::uint32_t>(size == 32 ? value : value & ((std::uint64_t{1} << size) - 1));
}

std::int64_t logicalValue(std::uint32_t raw, std::uint32_t size, std::int32_t logicalMin) {
    if (logicalMin >= 0 || size == 0 || size >= 64) return raw;
    const std::uint64_t sign = std::uint64_t{1} << (size - 1);
    return static_cast<std::int64_t>((std::uint64_t{raw} ^ sign)) - static_cast<std::int64_t>(sign);
}

std::optional<std::int32_t> scaledValue(std::uint32_t raw, const ValueCaps& c) {
    const std::int64_t v = logicalValue(raw, c.reportSize, c.logicalMin);
    if (c.logicalMin < c.logicalMax && (v < c.logicalMin || v > c.logicalMax)) return std::nullopt;
    if (c.physicalMin == 0 && c.physicalMax == 0) return static_cast<std::int32_t>(v);
    if (c.logicalMax <= c.logicalMin) return std::nullopt;
    // Both spans can reach 2^32, so their product is formed in long double (64-bit mantissa: exact).
    const long double scaled = c.physicalMin + static_cast<long double>(v - c.logicalMin) *
                                                   (std::int64_t{c.physicalMax} - c.physicalMin) /
                                                   (std::int64_t{c.logicalMax} - c.logicalMin);
    return static_cast<std::int32_t>(std::clamp<long double>(scaled, std::numeric_limits<std::int32_t>::min(),
                                                             std::numeric_limits<std::int32_t>::max()));
}

} // namespace zq::hid
