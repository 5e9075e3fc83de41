// Report descriptors come from devices, and from files users hand to zq70-hid: parse anything, and for
// every collection build the data items and decode a report made of the input itself, so the decoder
// meets the parser's capabilities at their most unusual.
#include "device/hid/descriptor_text.h"
#include "device/hid/hid_device_record.h"
#include "device/hid/report_descriptor.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const auto parsed = zq::hid::parseReportDescriptor(input);
    for (const auto& c : parsed.collections) {
        auto items = zq::hid::buildDataItems(c, zq::hid::ReportType::Input);
        const std::size_t reportLength = std::min<std::size_t>(size, c.inputReportLength);
        zq::hid::decodeReport(c, items, input.first(reportLength));
        if (!c.reportIds.empty() && size > 0) {
            std::vector<std::uint8_t> report(input.begin(),
                                             input.begin() + static_cast<std::ptrdiff_t>(reportLength));
            if (!report.empty()) report[0] = c.reportIds.front();
            zq::hid::decodeReport(c, items, report);
        }
    }
    zq::hid::readDescriptorContent(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
