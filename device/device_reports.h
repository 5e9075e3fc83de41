#pragma once
// The device-report threads: the mouse's and the keyboard's consumer-control collections, on which the
// devices announce what was changed on the device itself.
//
// Each thread lists the collections, opens the one with its device's consumer identity (read only,
// shared) and listens: reads of 500 ms, each report decoded, the first usage of the first data item
// acted on; a read that fails is followed by a presence test, and only a failed test (or a hang-up the
// read reported) ends the listening. The stop event is looked at between two reads. With the device
// absent the thread waits on the backend's node-change signal (or looks again after a second where there
// is none), so it costs nothing while nothing is plugged in.
//
// A usage that asks for action goes to the DeviceReportSink, synchronously: the thread reads on only
// after the sink returned, so a report is fully handled (its read-back included) before the next is
// read. The sink is given the thread's stop event and must return promptly once it is set.
#include "device/app_state.h"
#include "device/hid/hid_device_record.h"
#include "device/hid/raw_node.h"
#include "device/stoppable_thread.h"
#include "platform/clock.h"
#include "platform/event.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

namespace zq::device {

inline constexpr const char* kMouseReportsExit = "鼠标同步线程设定测试退出";
inline constexpr const char* kKeyboardReportsExit = "键盘同步线程设定退出";

inline constexpr std::chrono::milliseconds kReportReadLimit{500};
inline constexpr std::chrono::milliseconds kReportScanInterval{1000};

inline constexpr std::uint16_t kUsageProfileButton = 0x0401;
inline constexpr std::uint16_t kUsageSettingsChanged = 0x0402;
inline constexpr std::uint16_t kUsageClick = 0x0403;

enum class DeviceReport {
    SlotRefresh,  // usage 0x0401: message 0x902 (mouse) or 0xB02 (keyboard), the slot refresh
    FullReadBack, // usage 0x0402: message 0x901 (mouse) or 0xB01 (keyboard), the full read-back
    Click,        // usage 0x0403 from the mouse: both reaction triggers of the lighting engine
};

// What a usage from that device asks for; nothing for other usages, and for 0x0403 from the keyboard.
std::optional<DeviceReport> deviceReportOf(DeviceClass device, std::uint32_t usage);
// The window message the report stands for (0x901, 0x902, 0xB01, 0xB02), 0 for a click.
int deviceReportMessage(DeviceClass device, DeviceReport report);

class DeviceReportSink {
public:
    virtual ~DeviceReportSink() = default;
    // Called on the device-report thread; returns once the report is handled, or at once when `stop` is
    // set.
    virtual void deviceReport(DeviceClass device, DeviceReport report, platform::Event& stop) = 0;
};

class DeviceReportMonitor {
public:
    DeviceReportMonitor(hid::RawNodeBackend& backend, DeviceReportSink& sink,
                        platform::Clock& clock = platform::systemClock());
    ~DeviceReportMonitor(); // stops
    DeviceReportMonitor(const DeviceReportMonitor&) = delete;
    DeviceReportMonitor& operator=(const DeviceReportMonitor&) = delete;

    // Starts the mouse thread, then the keyboard thread; a running one is left alone.
    void start();
    void start(DeviceClass device); // Mouse or Keyboard
    bool stop(std::chrono::milliseconds limit = std::chrono::milliseconds(1000));

    // The body of a device-report thread (Mouse or Keyboard); public so that a test can run it in its
    // own thread. Ends when `stop` is set, or at once when the node listing fails.
    void run(DeviceClass device, platform::Event& stop);

private:
    enum class Listened { No, Gone, Stopped };
    Listened listen(DeviceClass device, hid::HidDeviceRecord& rec, platform::Event& stop);
    void handle(DeviceClass device, hid::HidDeviceRecord& rec, std::span<const std::uint8_t> report,
                platform::Event& stop);

    hid::RawNodeBackend& backend_;
    DeviceReportSink& sink_;
    platform::Clock& clock_;
    std::array<StoppableThread, 2> threads_; // mouse, keyboard
};

} // namespace zq::device
