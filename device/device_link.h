#pragma once
// DeviceLink: everything needed to talk to one device class (keyboard, mouse, mouse pad) over its
// vendor-defined collection. The main window owns one per device class for the whole run; every device
// operation takes the link of its device.
#include "device/hid/hid_device_record.h"
#include "device/hid/raw_node.h"
#include "platform/clock.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace zq::device {

// The collection a link talks to.
struct LinkIdentity {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
};

inline constexpr std::uint16_t kInitialBlockLength = 512;

class DeviceLink {
public:
    explicit DeviceLink(hid::RawNodeBackend& backend, platform::Clock& clock = platform::systemClock());
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Set once while the main window initialises, before any worker thread starts; read-only after.
    LinkIdentity identity;

    // Set while the device's vendor collection is open; every exchange checks it first.
    std::atomic<bool> open{false};
    // The device takes part in synchronised lighting; cleared when the device goes away.
    std::atomic<bool> syncLighting{false};
    // Byte length of the key block (commands 0x07, 0x08, 0x09). The read-back of the keyboard sets it
    // from the device information while the lighting threads may be running, hence atomic.
    std::atomic<std::uint16_t> blockLength{kInitialBlockLength};

    hid::HidDeviceRecord hid;

    // Serialises use of the HID handle. Held for one whole write–read attempt of an exchange, and by a
    // presence thread for a whole scan or presence check. Re-entrant for its owning thread.
    std::recursive_mutex lock;

    // Used for the pauses of the command layer, so tests take no real time.
    platform::Clock& clock;
};

} // namespace zq::device
