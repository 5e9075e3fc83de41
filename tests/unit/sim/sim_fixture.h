#pragma once
// A simulated backend on a manual clock, and helpers to open its collections through HidDeviceRecord the
// way the presence and device-report threads do.
#include "device/hid/hid_device_record.h"
#include "platform/clock.h"
#include "sim/descriptors.h"
#include "sim/sim_backend.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace zq::sim::test {

// The path of the collection with that identity, as enumeration lists it.
inline std::optional<std::string> findCollection(hid::RawNodeBackend& backend, std::uint16_t productId,
                                                 std::uint16_t usagePage, std::uint16_t usage) {
    hid::HidDeviceRecord probe(backend);
    if (!probe.enumerateInterfaces()) return std::nullopt;
    for (const auto& path : probe.paths()) {
        probe.setPath(path);
        if (!probe.openCollection()) continue;
        const bool match = probe.attributes().productId == productId && probe.caps().usagePage == usagePage &&
                           probe.caps().usage == usage;
        probe.closeCollection();
        if (match) return path;
    }
    return std::nullopt;
}

// Opens a record on the collection; fails the test when it is not there.
// The record's waits run on the backend's clock.
inline bool openOn(hid::HidDeviceRecord& record, std::uint16_t productId, std::uint16_t usagePage,
                   std::uint16_t usage, bool write = true) {
    const auto path = findCollection(record.backend(), productId, usagePage, usage);
    if (!path) return false;
    if (auto* sim = dynamic_cast<SimBackend*>(&record.backend())) record.setClock(sim->clock());
    record.setPath(*path);
    record.openForRead = true;
    record.openForWrite = write;
    return record.openCollection();
}

inline bool openVendor(hid::HidDeviceRecord& record, std::uint16_t productId) {
    return openOn(record, productId, kVendorUsagePage, kVendorUsage);
}
inline bool openConsumer(hid::HidDeviceRecord& record, std::uint16_t productId) {
    return openOn(record, productId, 0x000C, 0x0001, false);
}

} // namespace zq::sim::test
