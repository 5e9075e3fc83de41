#include "device/commands.h"
#include "device/device_link.h"
#include "device/hid/path_ids.h"
#include "tools/hid_tool.h"

#include <array>
#include <cstdio>
#include <mutex>
#include <ostream>

namespace zq::tools {
namespace {

constexpr device::LinkIdentity kMouseIdentity{0x0C45, 0x7684, 0xFF1C, 0x0092};
constexpr std::size_t kKeyCountByte = 5;
constexpr std::size_t kMacroUnitsByte = 6;
constexpr std::size_t kMacroUnitBytes = 128;
constexpr std::size_t kRecordBytes = 64;

const char* resultText(int result) {
    switch (result) {
    case device::kResultOk:
        return "ok";
    case device::kResultNoReply:
        return "no reply from the device";
    case device::kResultWriteFailed:
        return "the request could not be written";
    case device::kResultStatusFF:
        return "the device refused the request (status 0xFF)";
    case device::kResultStatusFE:
        return "the device refused the request (status 0xFE)";
    default:
        return "failed";
    }
}

void hexLines(std::ostream& out, std::span<const std::uint8_t> bytes) {
    for (std::size_t row = 0; row < bytes.size(); row += 16) {
        char head[32];
        std::snprintf(head, sizeof head, "    %02zx:", row);
        out << head;
        for (std::size_t i = row; i < std::min(bytes.size(), row + 16); ++i) {
            char b[4];
            std::snprintf(b, sizeof b, " %02x", bytes[i]);
            out << b;
        }
        out << '\n';
    }
}

// The connection step of the mouse's presence scan: walk the collection paths, skip other vendors by
// the path text alone, open each candidate for read and write (shared) and keep the first whose
// identity matches the link's in all four values.
bool connect(device::DeviceLink& link) {
    std::lock_guard lock(link.lock);
    auto& hid = link.hid;
    if (!hid.enumerateInterfaces()) return false;
    bool found = false;
    for (const auto& path : hid.paths()) {
        if (hid::pathVendorId(path) != link.identity.vendorId) continue;
        hid.openForRead = true;
        hid.openForWrite = true;
        hid.exclusive = false;
        hid.setPath(path);
        if (hid.openCollection() && hid.attributes().vendorId == link.identity.vendorId &&
            hid.attributes().productId == link.identity.productId &&
            hid.caps().usagePage == link.identity.usagePage && hid.caps().usage == link.identity.usage) {
            found = true;
            break;
        }
        hid.closeCollection();
    }
    hid.freePaths();
    if (found) link.open = true;
    return found;
}

} // namespace

int probeMouse(hid::RawNodeBackend& backend, std::ostream& out, std::ostream& err) {
    device::DeviceLink link(backend);
    link.identity = kMouseIdentity;
    if (!connect(link)) {
        err << "zq70-hid: no mouse found (looked for vendor 0c45, product 7684, usage page ff1c, usage "
               "0092)\n";
        return kExitFailure;
    }
    out << "Mouse found at " << link.hid.path() << "\n"
        << "  report lengths: input " << link.hid.caps().inputReportLength << ", output "
        << link.hid.caps().outputReportLength << ", feature " << link.hid.caps().featureReportLength
        << "\n\n";

    std::array<std::uint8_t, device::kDeviceInfoSize> info{};
    const int infoResult = device::ReadDeviceInfo(link, info);
    if (infoResult != device::kResultOk) {
        err << "zq70-hid: reading the device information failed: " << resultText(infoResult) << '\n';
        return kExitFailure;
    }
    out << "Device information (" << info.size() << " bytes):\n";
    hexLines(out, info);
    out << "  key count (byte 5):     " << unsigned{info[kKeyCountByte]} << "\n"
        << "  macro memory (byte 6):  " << unsigned{info[kMacroUnitsByte]}
        << " x 128 = " << info[kMacroUnitsByte] * kMacroUnitBytes << " bytes\n\n";

    std::array<std::uint8_t, 1> slotByte{};
    const int slotResult = device::ReadProfileRecord(link, 0, slotByte);
    if (slotResult != device::kResultOk) {
        err << "zq70-hid: reading the current slot failed: " << resultText(slotResult) << '\n';
        return kExitFailure;
    }
    const unsigned slot = slotByte[0];
    std::array<std::uint8_t, kRecordBytes> record{};
    const auto base = static_cast<std::uint16_t>(slot * kRecordBytes);
    const std::span<std::uint8_t> whole(record);
    int result = device::ReadProfileRecord(link, base, whole.first(device::kPayloadSize));
    if (result == device::kResultOk)
        result = device::ReadProfileRecord(link, static_cast<std::uint16_t>(base + device::kPayloadSize),
                                           whole.subspan(device::kPayloadSize));
    if (result != device::kResultOk) {
        err << "zq70-hid: reading the record of slot " << slot << " failed: " << resultText(result) << '\n';
        return kExitFailure;
    }
    out << "Current onboard slot: " << slot << "\n"
        << "Profile record of slot " << slot << " (64 bytes at offset " << base << "):\n";
    hexLines(out, record);
    return kExitOk;
}

} // namespace zq::tools
