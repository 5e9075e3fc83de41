#pragma once
// A scripted stand-in for a device's vendor collection, behind the raw-node backend interface.
// Every write is recorded; each write takes the next script entry (or the fallback) to decide what the
// device does with it. Nothing waits: a read with no reply ready returns Timeout at once.
#include "device/frame.h"
#include "device/hid/hid_device_record.h"
#include "device/hid/raw_node.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace zq::test {

// Vendor collection as the devices present it: usage page 0xFF1C, usage 0x92, report id 4, 63 data
// bytes in each direction (64-byte reports with the id).
extern const std::vector<std::uint8_t> kVendorCollectionDescriptor;

enum class Step {
    Reply,      // answer at once with `status`
    NoReply,    // accept the write, never answer
    LateReply,  // answer, but only after the read of this attempt has given up
    WriteFails, // the write does not complete
};

struct ScriptEntry {
    Step step = Step::Reply;
    std::uint8_t status = 0x00;
    std::size_t replyBytes = device::kFrameSize; // how long the input report is
};

struct IoRecord {
    bool write = false;
    std::chrono::milliseconds limit{0};
};

class ScriptedDevice {
public:
    ScriptedDevice();

    // Entries are used one per write; when they run out the fallback answers.
    void script(std::vector<ScriptEntry> entries);
    void setFallback(ScriptEntry entry);
    // Fills the payload of a reply to a request; the default echoes the request. The status byte is set
    // afterwards from the script. `index` counts writes from 0.
    void setResponder(std::function<void(std::size_t index, const device::Frame&, device::Frame&)> fn);

    std::vector<device::Frame> writes() const;
    std::vector<IoRecord> log() const;
    // Reads after the last write, excluding zero-limit probes for stale reports.
    std::size_t waitingReadsAfterLastWrite() const;
    void clearLog();

    // RawNode side.
    hid::IoResult write(std::span<const std::uint8_t> report, std::chrono::milliseconds limit);
    hid::IoResult read(std::span<std::uint8_t> buffer, std::chrono::milliseconds limit);

    hid::NodeInfo info;

private:
    mutable std::mutex mutex_;
    std::deque<ScriptEntry> script_;
    ScriptEntry fallback_;
    std::function<void(std::size_t, const device::Frame&, device::Frame&)> responder_;
    std::vector<device::Frame> writes_;
    std::vector<IoRecord> log_;
    std::deque<std::vector<std::uint8_t>> ready_, late_;
};

class ScriptedBackend final : public hid::RawNodeBackend {
public:
    ScriptedBackend();
    bool enumerate(std::vector<hid::NodeInfo>& out) override;
    std::unique_ptr<hid::RawNode> open(const std::string& node, unsigned access, bool exclusive) override;
    bool present(const std::string& node, std::uint16_t vendorId, std::uint16_t productId) override;

    std::string collectionPath() const;
    std::shared_ptr<ScriptedDevice> device = std::make_shared<ScriptedDevice>();
};

} // namespace zq::test
