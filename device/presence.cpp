#include "device/presence.h"

#include "device/hid/path_ids.h"
#include "platform/debug.h"

#include <algorithm>
#include <string>

namespace zq::device {

const char* presenceExitString(DeviceClass device) {
    switch (device) {
    case DeviceClass::Mouse:
        return kMousePresenceExit;
    case DeviceClass::Pad:
        return kPadPresenceExit;
    case DeviceClass::Keyboard:
        return kKeyboardPresenceExit;
    }
    return "";
}

enum class PresenceMonitor::Step {
    SelectProfile,
    ShowTab,
    PadTab,
    FirstScan,
    HideTab,
    SelectTab,
    MouseGone,
    HideWindow,
    SameModeShown,
    SameModeHidden,
    ErrorNone,
    ErrorPermission,
};

// The window's part of one turn, gathered while the link is locked and told after it is released.
struct PresenceMonitor::Turn {
    std::array<std::pair<Step, DeviceClass>, 8> steps{};
    std::size_t count = 0;
    void add(Step step, DeviceClass device) {
        if (count < steps.size()) steps[count++] = {step, device};
    }
};

namespace {} // namespace

PresenceMonitor::PresenceMonitor(AppState& app, PresenceEvents& events, platform::Clock& clock)
    : app_(app), events_(events), clock_(clock) {}

PresenceMonitor::~PresenceMonitor() {
    stop();
}

void PresenceMonitor::start() {
    for (DeviceClass d : {DeviceClass::Mouse, DeviceClass::Pad, DeviceClass::Keyboard}) start(d);
}

void PresenceMonitor::start(DeviceClass device) {
    watch(device).thread.start([this, device](platform::Event& stop) { run(device, stop); });
}

bool PresenceMonitor::stop(std::chrono::milliseconds limit) {
    for (auto& w : watches_) w.thread.requestStop();
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool all = true;
    for (auto& w : watches_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        all = w.thread.stop(std::max(left, std::chrono::milliseconds(0))) && all;
    }
    return all;
}

void PresenceMonitor::run(DeviceClass device, platform::Event& stop) {
    DeviceLink& link = app_.link(device);
    Watch& me = watch(device);
    hid::NodeChanges* changes = link.hid.backend().nodeChanges();
    if (changes) changes->subscribe(me.wake);
    bool firstScan = true;
    bool listingFailed = false;
    while (!stop.isSet()) {
        Turn turn;
        bool wasOpen = false;
        {
            std::lock_guard guard(link.lock);
            wasOpen = link.open;
            if (!wasOpen) {
                listingFailed = !scan(device, turn);
                if (firstScan && !listingFailed) {
                    firstScan = false;
                    if (link.open) turn.add(Step::FirstScan, device);
                }
                // Told now rather than at the first check, which may be long in coming when nothing
                // changes.
                if (link.open) tellSameMode(device, turn);
            } else {
                check(device, turn);
            }
        }
        announce(device, turn);
        if (link.open != wasOpen) {
            link.stateChanges.notify();
            wakePeers(device);
        }
        if (listingFailed) break;

        // Until something happens: a node change, a peer's arrival or removal, a hang-up met by a
        // transfer. Without a change signal, the described look every second (the open pad: 100 ms).
        auto limit = platform::Clock::kNoLimit;
        if (changes == nullptr)
            limit = device == DeviceClass::Pad && link.open ? kPadCheckInterval : kScanInterval;
        if (me.refusedOnce && !me.reported) limit = std::min(limit, platform::Clock::Duration(kScanInterval));
        platform::Event* events[] = {&stop, &me.wake, &link.removed};
        clock_.waitAny(events, limit);
    }
    if (changes) changes->unsubscribe(me.wake);
    if (listingFailed)
        platform::debugString(std::string("device presence (") + deviceKey(device) +
                              "): the HID nodes cannot be listed; the thread ends");
    platform::debugString(presenceExitString(device));
}

bool PresenceMonitor::scan(DeviceClass device, Turn& turn) {
    DeviceLink& link = app_.link(device);
    Watch& me = watch(device);
    hid::HidDeviceRecord& rec = link.hid;
    const LinkIdentity id = link.identity;
    if (!rec.enumerateInterfaces()) return false;

    bool found = false;
    for (const std::string& path : rec.paths()) {
        // The vendor in the path text: other vendors' collections are never opened.
        if (hid::pathVendorId(path) != id.vendorId) continue;
        rec.openForRead = true;
        rec.openForWrite = true;
        rec.exclusive = false;
        rec.setPath(path);
        if (rec.openCollection() && identifies(rec, id)) {
            found = true;
            break;
        }
        rec.closeCollection();
    }

    if (found) {
        {
            std::lock_guard roster(roster_);
            link.open = true;
        }
        me.refusedOnce = false;
        me.reported = false;
        if (link.error.exchange(LinkError::None) != LinkError::None) turn.add(Step::ErrorNone, device);
        switch (device) {
        case DeviceClass::Mouse:
            turn.add(Step::SelectProfile, device);
            turn.add(Step::ShowTab, device);
            break;
        case DeviceClass::Pad:
            turn.add(Step::ShowTab, device);
            turn.add(Step::SelectProfile, device);
            turn.add(Step::PadTab, device);
            break;
        case DeviceClass::Keyboard:
            turn.add(Step::ShowTab, device);
            turn.add(Step::SelectProfile, device);
            break;
        }
        me.sameMode = -1;
    } else {
        const auto refused = rec.backend().refusedNodes();
        const bool denied = std::any_of(refused.begin(), refused.end(), [&](const hid::RefusedNode& r) {
            return r.vendorId == id.vendorId && r.productId == id.productId;
        });
        if (denied) {
            if (me.refusedOnce && !me.reported) {
                me.reported = true;
                link.error = LinkError::Permission;
                turn.add(Step::ErrorPermission, device);
                const auto node =
                    std::find_if(refused.begin(), refused.end(), [&](const hid::RefusedNode& r) {
                        return r.vendorId == id.vendorId && r.productId == id.productId;
                    });
                platform::debugString(std::string("device presence (") + deviceKey(device) +
                                      "): " + node->node + " cannot be opened: permission denied");
            }
            me.refusedOnce = true;
        } else {
            me.refusedOnce = false;
            me.reported = false;
            if (link.error.exchange(LinkError::None) != LinkError::None) turn.add(Step::ErrorNone, device);
        }
    }
    rec.freePaths();
    return true;
}

void PresenceMonitor::check(DeviceClass device, Turn& turn) {
    DeviceLink& link = app_.link(device);
    Watch& me = watch(device);
    const LinkIdentity id = link.identity;

    if (link.hid.isPresent(link.hid.path(), id.vendorId, id.productId)) {
        tellSameMode(device, turn);
        return;
    }

    // Gone. The handle goes too: a waiting transfer returns at once, and nothing holds the dead node.
    link.hid.closeCollection();
    me.sameMode = -1;
    turn.add(Step::HideTab, device);
    std::lock_guard roster(roster_);
    link.open = false;
    link.syncLighting = false;
    const bool kb = app_.keyboardLink.open;
    const bool ms = app_.mouseLink.open;
    const bool mp = app_.padLink.open;
    switch (device) {
    case DeviceClass::Mouse:
        if (kb)
            turn.add(Step::SelectTab, DeviceClass::Keyboard);
        else if (!mp)
            turn.add(Step::MouseGone, device);
        else
            turn.add(Step::SelectTab, DeviceClass::Pad);
        break;
    case DeviceClass::Pad:
        if (kb)
            turn.add(Step::SelectTab, DeviceClass::Keyboard);
        else if (!ms)
            turn.add(Step::HideWindow, device);
        else
            turn.add(Step::SelectTab, DeviceClass::Mouse);
        break;
    case DeviceClass::Keyboard:
        // The keyboard hides the window directly, as the pad does: the disconnection message of 0xC05
        // names the mouse.
        if (ms)
            turn.add(Step::SelectTab, DeviceClass::Mouse);
        else if (mp)
            turn.add(Step::SelectTab, DeviceClass::Pad);
        else
            turn.add(Step::HideWindow, device);
        break;
    }
}

void PresenceMonitor::tellSameMode(DeviceClass device, Turn& turn) {
    Watch& me = watch(device);
    bool others = false;
    for (DeviceClass d : kDeviceClasses)
        if (d != device) others = others || app_.link(d).open;
    if (me.sameMode != static_cast<int>(others)) {
        me.sameMode = others;
        turn.add(others ? Step::SameModeShown : Step::SameModeHidden, device);
    }
}

void PresenceMonitor::wakePeers(DeviceClass device) {
    for (DeviceClass d : kDeviceClasses)
        if (d != device) watch(d).wake.set();
}

void PresenceMonitor::announce(DeviceClass device, const Turn& turn) {
    (void)device;
    for (std::size_t i = 0; i < turn.count; ++i) {
        const auto [step, d] = turn.steps[i];
        switch (step) {
        case Step::SelectProfile:
            events_.selectSavedProfile(d);
            break;
        case Step::ShowTab:
            events_.showDeviceTab(d);
            break;
        case Step::PadTab:
            events_.padTabConnected();
            break;
        case Step::FirstScan:
            events_.firstScanFoundDevice(d);
            break;
        case Step::HideTab:
            events_.hideDeviceTab(d);
            break;
        case Step::SelectTab:
            events_.selectDeviceTab(d);
            break;
        case Step::MouseGone:
            events_.postMouseDisconnected();
            break;
        case Step::HideWindow:
            events_.hideMainWindow();
            break;
        case Step::SameModeShown:
            events_.sameModeVisible(d, true);
            break;
        case Step::SameModeHidden:
            events_.sameModeVisible(d, false);
            break;
        case Step::ErrorNone:
            events_.linkErrorChanged(d, LinkError::None);
            break;
        case Step::ErrorPermission:
            events_.linkErrorChanged(d, LinkError::Permission);
            break;
        }
    }
}

} // namespace zq::device
