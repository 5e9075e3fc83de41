#pragma once
// The raw-node backend interface: the little the program needs of the operating system's HID stack.
// A "node" is one device file (a hidraw node, or an emulated one); it can hold several top-level
// collections, which HidDeviceRecord splits apart by parsing the report descriptor.
//
// Backends: HidrawBackend (/dev/hidraw*) and sim::SimBackend (the built-in device emulator).
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace zq::platform {
class Event;
}

namespace zq::hid {

struct NodeInfo {
    std::string node; // "/dev/hidraw3", or an emulated node's name
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
    std::vector<std::uint8_t> descriptor; // the raw report descriptor
};

enum class IoStatus {
    Ok,        // the whole report went out, or one report came in
    Timeout,   // the time limit passed first
    Cancelled, // cancel() was called on the node
    Removed,   // the device is gone (hangup, EIO, ENODEV, ENOTCONN, emulated unplug)
    Error,     // anything else
};

struct IoResult {
    IoStatus status = IoStatus::Error;
    std::size_t bytes = 0;
    bool ok() const { return status == IoStatus::Ok; }
};

enum Access : unsigned {
    kAccessNone = 0, // presence probes only
    kAccessRead = 1,
    kAccessWrite = 2,
};

// One open node. write/read may be called from one thread while cancel() is called from another.
// Reports carry the report id in byte 0 (0 when the device uses no report ids), as on hidraw.
class RawNode {
public:
    virtual ~RawNode() = default;
    virtual const NodeInfo& info() const = 0;
    // Writes one output report within the limit.
    virtual IoResult write(std::span<const std::uint8_t> report, std::chrono::milliseconds limit) = 0;
    // Reads one input report within the limit; a report longer than the buffer is cut to it.
    virtual IoResult read(std::span<std::uint8_t> buffer, std::chrono::milliseconds limit) = 0;
    // Wakes a waiting read or write at once (it returns Cancelled) and makes every later call on
    // this node return Cancelled. Used when the node is closed under a waiter's feet.
    virtual void cancel() = 0;
};

// A node of a known device that exists but could not be opened for lack of permission.
struct RefusedNode {
    std::string node;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// Tells waiting threads that the set of nodes may have changed: a node came, went, or had its access
// rights changed. A thread that waits on this instead of looking on a timer costs nothing while no
// device comes or goes.
class NodeChanges {
public:
    virtual ~NodeChanges() = default;
    // From now on `event` is set after every change, until it is unsubscribed. Thread-safe.
    virtual void subscribe(platform::Event& event) = 0;
    virtual void unsubscribe(platform::Event& event) = 0;
};

class RawNodeBackend {
public:
    virtual ~RawNodeBackend() = default;
    // Every present node with its identity and descriptor. False when the listing itself failed.
    virtual bool enumerate(std::vector<NodeInfo>& out) = 0;
    // Null when the node cannot be opened with that access.
    virtual std::unique_ptr<RawNode> open(const std::string& node, unsigned access, bool exclusive) = 0;
    // True while the node exists and still belongs to the device with this vendor and product id.
    virtual bool present(const std::string& node, std::uint16_t vendorId, std::uint16_t productId) = 0;

    // The backend's change signal; null where it has none, and its callers then look every second.
    // Lives as long as the backend.
    virtual NodeChanges* nodeChanges() { return nullptr; }
    // Nodes that the last enumerate(), or an open() since, could not open for lack of permission and
    // whose device is known.
    virtual std::vector<RefusedNode> refusedNodes() const { return {}; }
};

} // namespace zq::hid
