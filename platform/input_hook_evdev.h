#pragma once
// The evdev capture: the input device nodes under /dev/input, where the user may read them (the
// "input" group, or a seat's access list). While installed, one reader thread blocks in poll() on the
// nodes and on an eventfd that stops it; every key and mouse-button event is handed to the poster,
// which runs it on the UI thread.
//
// Keyboards are grabbed (EVIOCGRAB) for exactly as long as hooks are installed, so the keys reach no
// other application meanwhile; the kernel drops the grab by itself if the process dies. A keyboard that
// has a key held at install is grabbed once all its keys are up: grabbing it earlier would hide the
// release from the desktop, which would then repeat that key until it is pressed again.
//
// Lock keys under a grab: the desktop no longer sees Caps Lock, Num Lock or Scroll Lock, and the LED
// writes it makes are dropped by the kernel while another handle holds the grab. So on a lock key's
// press the reader toggles the lock on the desktop itself (DesktopLockToggle: X11's XKB lock state) and
// lights the grabbed keyboards' LEDs as the desktop now has it, through the grabbing handle. Where the
// desktop cannot be told (no X server), neither the lock nor its LED changes, so the two never disagree.
// The lock key is delivered to the hooks like any other key either way.
#include "platform/input_hook.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zq::platform {

// Runs a function on the thread the hook callbacks belong to (the UI thread), in call order. It queues
// the function and never runs it inline: a callback may remove the hooks, which joins the reader.
using HookPoster = std::function<void(std::function<void()>)>;

enum class LockKey { Caps, Num, Scroll };

// One event of a device node as read(2) gives it, without its time stamp.
struct RawInputEvent {
    std::uint16_t type = 0;
    std::uint16_t code = 0;
    std::int32_t value = 0;
};

// What one event means to the hooks: a key (a repeat, value 2, is the press it repeats), a mouse button
// (left, right, middle, side = back, extra = forward), a lock key going down, or nothing.
struct TranslatedEvent {
    std::optional<KeyHookEvent> key;
    std::optional<MouseHookEvent> mouse;
    std::optional<LockKey> lockPressed;
};
TranslatedEvent translateEvdevEvent(const RawInputEvent& event);

// One opened device node.
class EvdevDevice {
public:
    virtual ~EvdevDevice() = default;
    virtual int fd() const = 0;
    virtual std::string name() const = 0;
    virtual bool hasKeys() const = 0;         // reports keys the key table knows
    virtual bool isKeyboard() const = 0;      // a typing keyboard and no pointer: grabbed while installed
    virtual bool hasMouseButtons() const = 0; // reports BTN_LEFT
    // Appends the pending events; false once the device is gone.
    virtual bool read(std::vector<RawInputEvent>& out) = 0;
    virtual bool anyKeyDown() const = 0;
    virtual bool grab(bool on) = 0;
    virtual std::optional<bool> led(LockKey lock) const = 0;
    virtual void setLed(LockKey lock, bool on) = 0;
};

// Every event* node under the folder that can be opened for reading, through libevdev. Empty with
// error set when there is none.
std::vector<std::unique_ptr<EvdevDevice>> openEvdevDevices(const std::filesystem::path& folder,
                                                           std::string& error);

// Toggles a lock on the desktop and returns its new state; nothing when the desktop could not be told.
// Called on the reader thread.
using DesktopLockToggle = std::function<std::optional<bool>(LockKey lock)>;

struct EvdevOptions {
    std::filesystem::path folder = "/dev/input";
    // Opens the nodes; openEvdevDevices when empty.
    std::function<std::vector<std::unique_ptr<EvdevDevice>>(const std::filesystem::path&, std::string&)> open;
    DesktopLockToggle desktopLock;
};

class EvdevInputHooks final : public InputHookService {
public:
    explicit EvdevInputHooks(HookPoster poster, EvdevOptions options = {});
    ~EvdevInputHooks() override;
    EvdevInputHooks(const EvdevInputHooks&) = delete;
    EvdevInputHooks& operator=(const EvdevInputHooks&) = delete;

    bool install(HookMode mode, HookCallbacks callbacks) override;
    void removeAll() override;
    bool installed() const override { return session_ != nullptr; }
    HookBackendKind activeBackend() const override {
        return installed() ? HookBackendKind::Evdev : HookBackendKind::None;
    }
    bool holdsKeysBack() const override { return installed() && holdsKeys_; }
    std::string lastError() const override { return lastError_; }

private:
    struct Session;
    struct Reader;
    void run();
    void deliver(const TranslatedEvent& event, Reader& from);
    void grabWhenKeysAreUp(Reader& reader);
    void toggleLock(LockKey lock);

    HookPoster poster_;
    EvdevOptions options_;
    std::shared_ptr<Session> session_;
    std::vector<std::unique_ptr<Reader>> devices_; // owned by the reader thread while it runs
    int stopFd_ = -1;
    bool holdsKeys_ = false;
    std::string lastError_;
    std::thread thread_;
};

} // namespace zq::platform
