#pragma once
// The X11 capture: XInput 2 raw key and button events of every device, selected on the root window of
// our own connection to the X server. It needs no privileges and sees keys wherever the focus is, but
// cannot hold events back from other applications (lock keys therefore just work). A thread waits on
// the connection's socket and on an eventfd that stops it; events reach the callbacks through the
// poster. Key codes become virtual keys by their keysym on the current layout (as Windows names keys by
// the layout), and by the key's position where the keysym is not one the key table knows.
#include "platform/input_hook.h"
#include "platform/input_hook_evdev.h"

#include <memory>
#include <string>
#include <thread>

namespace zq::platform {

class X11InputHooks final : public InputHookService {
public:
    // An empty display name means $DISPLAY.
    explicit X11InputHooks(HookPoster poster, std::string displayName = {});
    ~X11InputHooks() override;
    X11InputHooks(const X11InputHooks&) = delete;
    X11InputHooks& operator=(const X11InputHooks&) = delete;

    bool install(HookMode mode, HookCallbacks callbacks) override;
    void removeAll() override;
    bool installed() const override { return session_ != nullptr; }
    HookBackendKind activeBackend() const override {
        return installed() ? HookBackendKind::X11 : HookBackendKind::None;
    }
    bool holdsKeysBack() const override { return false; }
    std::string lastError() const override { return lastError_; }

private:
    struct Session;
    void run(const std::shared_ptr<Session>& session);

    HookPoster poster_;
    std::string displayName_;
    std::shared_ptr<Session> session_;
    std::string lastError_;
    std::thread thread_;
};

// XKB's lock state on the X display, for the evdev capture to keep Caps Lock and Num Lock working while
// it holds the keyboards. Opens its own connection on first use; nothing where there is no X display or
// the layout has no modifier for the lock (Scroll Lock on most).
DesktopLockToggle makeX11LockToggle(std::string displayName = {});

} // namespace zq::platform
