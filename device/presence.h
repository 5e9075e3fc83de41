#pragma once
// The presence threads: one per device (mouse, pad, keyboard) finds the device's vendor collection,
// opens it into the device's link, and watches it until it goes.
//
// A thread with its device absent scans the HID collections (vendor pre-filter on the path, open,
// identity check of vendor, product, usage page and usage); with its device open it checks that the
// node is still there. Between two turns it waits on its stop event, on the backend's node-change
// signal (a node came, went or changed its rights), on the other presence threads (one of them opened
// or lost its device) and on its link's removal signal (a report write or read met a hang-up). Where
// the backend has no change signal it looks again after a second (the pad after 100 ms while open).
// So with no device present a thread does not wake at all, and a device that appears is found at once.
//
// What the window does on arrival and removal is asked of PresenceEvents, always without the link lock
// held, in the order described per device; the shell carries each call to the UI thread in that order.
// The threads never touch the UI themselves.
//
// A node of the device that exists but cannot be opened for lack of permission is reported once to the
// debug output and recorded in the link's `error`; it is looked at again when the node changes (udev
// granting access is a change), or after a second where there is no change signal, never in a loop.
// Because udev applies its rights just after the node appears, a refusal counts only when the next look,
// a second later, still meets it.
#include "device/app_state.h"
#include "device/stoppable_thread.h"
#include "platform/clock.h"
#include "platform/event.h"

#include <array>
#include <chrono>
#include <mutex>

namespace zq::device {

inline constexpr const char* kMousePresenceExit = "鼠标设备侦测线程设定退出";
inline constexpr const char* kPadPresenceExit = "鼠标垫设备侦测线程设定退出";
inline constexpr const char* kKeyboardPresenceExit = "键盘设备侦测线程设定退出";

inline constexpr std::chrono::milliseconds kScanInterval{1000};
inline constexpr std::chrono::milliseconds kPadCheckInterval{100};

const char* presenceExitString(DeviceClass device);

// What the window does when a device comes or goes. Called from a presence thread, without the link
// lock held; the implementation hands each call to the UI thread in order.
class PresenceEvents {
public:
    virtual ~PresenceEvents() = default;

    // --- arrival (the link is open already)
    // Select the saved profile in the device's profile list, which loads it and sends it:
    // mouse "ms_device_profile_combo" ("select" of msProfile.ini [PROFILEDEVICESELECT]); pad
    // "mp_deng_profile_combo" (mpProfile.ini [PROFILEDENGSELECT]); keyboard "kb_device_profile_combo"
    // (kbProfile.ini [PROFILEDEVICESELECT]).
    virtual void selectSavedProfile(DeviceClass device) = 0;
    // Show and select the device's tab ("ms_tab", "mp_tab", "kb_tab"); for the mouse also show
    // "ms_tab_panel".
    virtual void showDeviceTab(DeviceClass device) = 0;
    // The pad: ask "mp_tab" to update, then start timer 7 with 100 ms.
    virtual void padTabConnected() = 0;
    // The first scan of the thread found the device: post the registered start-up message.
    virtual void firstScanFoundDevice(DeviceClass device) = 0;

    // --- removal (the link is closed already)
    virtual void hideDeviceTab(DeviceClass device) = 0;
    // Show and select the tab of a device that is still open.
    virtual void selectDeviceTab(DeviceClass device) = 0;
    // The mouse went and nothing else is open: post 0xC05 ("message_text_20", then the window hides).
    virtual void postMouseDisconnected() = 0;
    // The pad or the keyboard went and nothing else is open: hide the main window.
    virtual void hideMainWindow() = 0;

    // --- presence check: "ms_deng_same_mode", "mp_deng_same_mode" or "kb_deng_same_mode" is shown while
    // another device is open. Called when the answer changes, not on every check.
    virtual void sameModeVisible(DeviceClass device, bool visible) = 0;

    // --- the link's error changed (LinkError::Permission, or None once the device opens or goes).
    virtual void linkErrorChanged(DeviceClass device, LinkError error) { (void)device, (void)error; }
};

class PresenceMonitor {
public:
    PresenceMonitor(AppState& app, PresenceEvents& events, platform::Clock& clock = platform::systemClock());
    ~PresenceMonitor(); // stops
    PresenceMonitor(const PresenceMonitor&) = delete;
    PresenceMonitor& operator=(const PresenceMonitor&) = delete;

    // Starts the mouse, pad and keyboard threads, in that order; a running one is left alone.
    void start();
    void start(DeviceClass device);
    // Sets every stop event and waits up to `limit` in all for the threads to end; true when all did.
    bool stop(std::chrono::milliseconds limit = std::chrono::milliseconds(1000));

    // The body of a device's presence thread; public so that a test can run it in its own thread. Ends
    // when `stop` is set, or at once when the node listing fails (nothing could ever be found then).
    void run(DeviceClass device, platform::Event& stop);

private:
    struct Watch {
        platform::Event wake{platform::Event::Reset::Auto};
        int sameMode = -1;        // last visibility told: -1 not yet, 0 hidden, 1 shown
        bool refusedOnce = false; // the last scan met a refusal; a second one in a row counts
        bool reported = false;    // the current permission error has been written out
        StoppableThread thread;
    };
    enum class Step; // what a turn asks of the window, gathered under the lock
    struct Turn;

    Watch& watch(DeviceClass device) { return watches_[static_cast<std::size_t>(device)]; }
    bool scan(DeviceClass device, Turn& turn);
    void check(DeviceClass device, Turn& turn);
    void tellSameMode(DeviceClass device, Turn& turn);
    void wakePeers(DeviceClass device);
    void announce(DeviceClass device, const Turn& turn);

    AppState& app_;
    PresenceEvents& events_;
    platform::Clock& clock_;
    // Held while a link's open flag changes and the others are looked at, so that two devices leaving
    // at once still leave one of them knowing it was the last.
    std::mutex roster_;
    std::array<Watch, 3> watches_;
};

} // namespace zq::device
