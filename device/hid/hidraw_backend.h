#pragma once
// The Linux raw-node backend: the kernel's hidraw nodes ("/dev/hidraw*").
//
// Every node is asked for its identity and report descriptor by ioctl only, so the backend can be
// pointed at any folder that holds hidraw-like nodes (the test harness serves emulated devices that
// way). I/O is synchronous: poll() on the node and on the node's cancel eventfd with the time limit,
// then read() or write() straight into the caller's buffer. Nothing can complete into a buffer after
// the call that was given it has returned.
//
// Removal: POLLHUP, POLLERR, EIO, ENODEV and ENOTCONN all mean the device is gone (a real unplugged
// node gives the first three, an aborted FUSE connection the others).
#include "device/hid/raw_node.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zq::hid {

// A node the last enumeration found but could not ask for its identity, and why (an errno value).
struct NodeFailure {
    std::string node;
    int error = 0;
};

class HidrawRegistry;
class NodeWatcher;

class HidrawBackend final : public RawNodeBackend {
public:
    explicit HidrawBackend(std::string folder = "/dev");
    ~HidrawBackend() override;
    HidrawBackend(const HidrawBackend&) = delete;
    HidrawBackend& operator=(const HidrawBackend&) = delete;

    // Lists the folder's hidraw<N> nodes in number order. False only when the folder cannot be read;
    // nodes that cannot be opened are left out and reported by lastFailures().
    bool enumerate(std::vector<NodeInfo>& out) override;
    // kAccessNone opens the node only long enough to ask its identity; such a node reads and writes
    // nothing. exclusive takes an advisory lock that keeps other exclusive and shared opens of this
    // program away; the kernel has no share modes.
    std::unique_ptr<RawNode> open(const std::string& node, unsigned access, bool exclusive) override;
    // The node exists, answers with this vendor and product id, and is the same file (device number
    // and inode) as the one open on that path, or, with nothing open on it, as the one last enumerated.
    bool present(const std::string& node, std::uint16_t vendorId, std::uint16_t productId) override;

    std::vector<NodeFailure> lastFailures() const;
    const std::string& folder() const { return folder_; }

    // inotify on the folder, started on first use; null where inotify cannot watch the folder or would
    // not see its changes (FUSE, network file systems).
    NodeChanges* nodeChanges() override;
    // Nodes refused with EACCES or EPERM: those the last enumeration could not ask, when the kernel's
    // device information names their device, and listed nodes whose open() was refused since.
    std::vector<RefusedNode> refusedNodes() const override;

private:
    const std::string folder_;
    std::shared_ptr<HidrawRegistry> registry_;
    std::once_flag watcherOnce_;
    std::unique_ptr<NodeWatcher> watcher_;
};

// Vendor and product id from the text of a HID device's uevent file ("HID_ID=0003:00000C45:00007684").
struct HidIds {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};
std::optional<HidIds> parseHidUevent(std::string_view uevent);

// The folder the program looks for hidraw nodes in: $ZQ70_HIDRAW_DIR when set, else "/dev".
std::string defaultHidrawFolder();
// The backend the program uses when it is not told to simulate devices.
std::unique_ptr<RawNodeBackend> makeDefaultBackend();

} // namespace zq::hid
