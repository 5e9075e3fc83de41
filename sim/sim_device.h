#pragma once
// One emulated device: its firmware, its nodes as the backend presents them, the faults a test switches
// on, and the buttons of the device itself. Thread-safe: every entry point takes the device's lock, so
// several threads can exchange frames with the same device at once.
//
// Time. With the system clock a read that finds nothing waits on a condition variable until a report
// is due, the node is cancelled or the device is unplugged. With any other clock (a test's ManualClock)
// time is virtual and nothing ever waits: a read that would wait moves the clock on to the report's due
// time, or by its whole limit and returns Timeout.
//
// Late replies (setReplyDelay): the reply is queued with a due time in the future. A read whose limit
// ends before that time returns Timeout and leaves it queued; the next read takes it, as it would take
// a late reply from a real device.
#include "device/frame.h"
#include "device/hid/node_watcher.h"
#include "device/hid/raw_node.h"
#include "platform/clock.h"
#include "sim/device_model.h"
#include "sim/firmware.h"
#include "sim/report_queue.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace zq::sim {

class NodeNumbering;
class SimNode;

enum class WriteFault {
    None,
    Fail,  // every write fails at once with Error
    Stall, // every write runs into its time limit (Timeout), unless cancelled or unplugged first
};

inline constexpr int kAlways = -1;

// Consumer usages the devices send on their consumer-control collection.
inline constexpr std::uint16_t kUsageProfileButton = 0x0401;
inline constexpr std::uint16_t kUsageSettingsChanged = 0x0402;
inline constexpr std::uint16_t kUsageClick = 0x0403;

class SimDevice : public std::enable_shared_from_this<SimDevice> {
public:
    // `changes` (optional) is told of every plug, unplug and change of access rights.
    SimDevice(const DeviceModel& model, platform::Clock& clock, std::shared_ptr<NodeNumbering> numbering,
              std::shared_ptr<hid::NodeChangeHub> changes = nullptr);
    ~SimDevice();
    SimDevice(const SimDevice&) = delete;
    SimDevice& operator=(const SimDevice&) = delete;

    const DeviceModel& model() const { return model_; }

    // --- Plugging. A replug brings the nodes back under the lowest free numbers, as new nodes: handles
    // opened before the unplug stay dead (Removed). The device's memories survive; a half-received light
    // frame and an open transfer session do not.
    bool plugged() const;
    void unplug();
    void plug();
    // Node names while plugged ("sim/hidraw3"), in node order; empty while unplugged.
    std::vector<std::string> nodeNames() const;
    // Access denied, as a node without the user's rights: the nodes exist (present() says so) but the
    // listing cannot ask them and every open is refused; the backend names them in refusedNodes().
    // Handles already open keep working. Stays until switched off; a change of rights is a node change.
    void setAccessDenied(bool denied);
    bool accessDenied() const;

    // --- Faults: each stays until changed; clearFaults() restores the healthy device.
    void setNoReply(bool on);                            // requests are taken but never answered
    void setReplyDelay(std::chrono::milliseconds delay); // replies come this late
    // The next `count` requests (kAlways: every request) are refused with this status (0xFF or 0xFE)
    // and not carried out; status 0 switches the fault off.
    void setStatusFault(std::uint8_t status, int count = kAlways);
    void setWriteFault(WriteFault fault);
    // The device answers `frames` more command frames; the write of the next one finds it unplugged.
    // 0 unplugs at the next frame; a negative number switches the fault off.
    void unplugAfterFrames(int frames);
    void clearFaults();

    // --- The device's own buttons; false when the device is unplugged or has no such button.
    bool pressProfileButton();    // mouse, keyboard: next onboard slot, then usage 0x0401
    bool pressDpiButton();        // mouse: next DPI level in the current record, then 0x0402
    bool pressBrightnessButton(); // keyboard: next brightness in the current record, then 0x0402
    bool click();                 // mouse, keyboard: 0x0403
    // Sends one consumer usage (press), followed by the release report (usage 0).
    bool sendConsumerUsage(std::uint16_t usage);
    // An input report on one of the device's nodes as the hardware sends it (byte 0 = the report id, 0
    // on a node whose reports carry none), e.g. a boot-protocol pointer report. False when unplugged or
    // there is no such node.
    bool sendNodeReport(int nodeIndex, std::span<const std::uint8_t> report);

    // --- Inspection (copies taken under the lock).
    std::uint8_t currentSlot() const;
    std::vector<std::uint8_t> records() const;
    std::vector<std::uint8_t> record(std::size_t slot) const; // 64 bytes; byte 0 of slot 0 = current slot
    std::vector<std::uint8_t> keyArea() const;
    std::vector<std::uint8_t> macroArea() const;
    std::vector<std::uint8_t> cursorArea() const;
    std::array<std::uint8_t, device::kDeviceInfoSize> deviceInfo() const;
    std::vector<std::uint8_t> lastLightFrame() const;
    std::uint64_t lightFrameCount() const;
    bool transferOpen() const;
    std::uint64_t transfersBegun() const;
    std::uint64_t transfersEnded() const;
    // Command frames that reached the device (answered, refused or swallowed), per command id.
    std::uint64_t framesReceived(std::uint8_t command) const;
    std::uint64_t framesReceived() const;
    // Changes bytes of the profile-record memory the way the device's own buttons or its firmware would:
    // no frame, no report (send one with sendConsumerUsage when the host should notice). False, and
    // nothing changed, when the bytes do not fit the record memory or a change of byte 0 (the
    // current-slot register) names a slot the device does not have.
    bool changeRecords(std::size_t offset, std::span<const std::uint8_t> bytes);

    // Commands received since the last call (light frames left out, as they stream all the time),
    // oldest first; at most kCommandLogSize are kept, dropped counts the older ones lost.
    struct LoggedCommand {
        std::uint8_t command = 0;
        std::uint16_t offset = 0;
        std::uint8_t length = 0;
    };
    static constexpr std::size_t kCommandLogSize = 4096;
    std::vector<LoggedCommand> takeCommandLog(std::uint64_t* dropped = nullptr);

    // The last frames received, oldest first (at most kRequestLogSize).
    static constexpr std::size_t kRequestLogSize = 256;
    std::vector<device::Frame> requestLog() const;
    void clearRequestLog();

private:
    friend class SimNode;
    friend class SimBackend;

    bool aliveLocked(const SimNode& node) const;
    std::unique_ptr<SimNode> open(const std::string& nodeName, unsigned access, bool exclusive);
    bool hasNode(const std::string& nodeName) const;
    // A handle, not yet closed, that was opened on this node name before the device went away.
    bool hasStaleHandle(const std::string& nodeName) const;
    void listNodes(std::vector<hid::NodeInfo>& out) const;

    hid::IoResult write(SimNode& node, std::span<const std::uint8_t> report, std::chrono::milliseconds limit);
    hid::IoResult read(SimNode& node, std::span<std::uint8_t> buffer, std::chrono::milliseconds limit);
    void cancel(SimNode& node);
    void detach(SimNode& node);

    hid::IoResult waitOut(std::unique_lock<std::mutex>& lock, SimNode& node, std::chrono::milliseconds limit);
    void unplugLocked();
    void broadcastLocked(int nodeIndex, std::span<const std::uint8_t> report, platform::Clock::TimePoint due);
    bool sendConsumerLocked(std::uint16_t usage);
    void logLocked(const device::Frame& frame);

    const DeviceModel model_;
    platform::Clock& clock_;
    const bool realTime_;
    std::shared_ptr<NodeNumbering> numbering_;
    std::shared_ptr<hid::NodeChangeHub> changes_;

    mutable std::mutex mutex_;
    std::condition_variable cv_;
    Firmware firmware_;
    bool plugged_ = false;
    bool accessDenied_ = false;
    std::uint64_t generation_ = 0;
    std::array<int, kMaxNodes> numbers_{};
    std::array<std::string, kMaxNodes> names_{};
    std::vector<SimNode*> handles_;

    bool noReply_ = false;
    std::chrono::milliseconds replyDelay_{0};
    std::uint8_t forcedStatus_ = 0;
    int forcedCount_ = 0;
    WriteFault writeFault_ = WriteFault::None;
    int unplugAfter_ = -1;

    std::array<std::uint64_t, 256> received_{};
    std::uint64_t receivedTotal_ = 0;
    std::vector<device::Frame> log_; // ring of kRequestLogSize
    std::size_t logNext_ = 0;
    std::deque<LoggedCommand> commandLog_;
    std::uint64_t commandLogDropped_ = 0;
};

// One open handle on an emulated node. Holds its device alive; each handle has its own queue of input
// reports, and every report of its node reaches every handle open for reading, as on hidraw.
class SimNode final : public hid::RawNode {
public:
    SimNode(std::shared_ptr<SimDevice> device, int nodeIndex, hid::NodeInfo info, unsigned access,
            bool exclusive, std::uint64_t generation);
    ~SimNode() override;

    const hid::NodeInfo& info() const override { return info_; }
    hid::IoResult write(std::span<const std::uint8_t> report, std::chrono::milliseconds limit) override;
    hid::IoResult read(std::span<std::uint8_t> buffer, std::chrono::milliseconds limit) override;
    void cancel() override;

private:
    friend class SimDevice;
    std::shared_ptr<SimDevice> device_;
    const int nodeIndex_;
    const hid::NodeInfo info_;
    const unsigned access_;
    const bool exclusive_;
    const std::uint64_t generation_;
    bool cancelled_ = false; // guarded by the device's lock
    ReportQueue queue_;      // guarded by the device's lock
};

} // namespace zq::sim
