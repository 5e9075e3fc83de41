#pragma once
// DeviceLink: everything needed to talk to one device class (keyboard, mouse, mouse pad) over its
// vendor-defined collection. The main window owns one per device class for the whole run; every device
// operation takes the link of its device.
#include "device/hid/hid_device_record.h"
#include "device/hid/node_watcher.h"
#include "device/hid/raw_node.h"
#include "platform/clock.h"
#include "platform/event.h"

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

// Why a link is not open although its device may be there.
enum class LinkError : std::uint8_t {
    None,
    Permission, // the device's node exists but this user may not open it
};

// True when an open collection is exactly that one: vendor, product, usage page and usage.
bool identifies(const hid::HidDeviceRecord& record, const LinkIdentity& identity);

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
    // Set by the presence thread, read by whoever reports the link's state.
    std::atomic<LinkError> error{LinkError::None};
    // Set when a report write or read on the link finds the device gone (a hang-up on the node): the
    // presence thread waits on it, so a removal is seen at the next frame rather than at the next look.
    platform::Event removed{platform::Event::Reset::Auto};
    // Told whenever `open` or `syncLighting` changes (the presence thread, the same-lighting apply), so
    // a thread with nothing to send for a closed link can wait here instead of looking on a timer.
    hid::NodeChangeHub stateChanges;

    hid::HidDeviceRecord hid;

    // Serialises use of the HID handle. Held for one whole write–read attempt of an exchange, and by a
    // presence thread for a whole scan or presence check. Re-entrant for its owning thread.
    std::recursive_mutex lock;

    // Used for the pauses of the command layer and the waits of the sequences, so tests take no real
    // time. The HID record bounds its reads with it too.
    platform::Clock& clock;
};

} // namespace zq::device
