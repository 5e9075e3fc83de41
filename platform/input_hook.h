#pragma once
// Global key and mouse-button capture: what the button editor's key capture and the macro recorder
// listen to. One service, several backends, best first:
//   evdev     /dev/input/event* where readable; keyboards are grabbed (EVIOCGRAB) only while a capture or
//             recording runs, so keys pressed meanwhile do not reach other applications;
//   X11       XInput2 raw events: global under X11 without privileges, but events cannot be held back;
//   in-window a Qt event filter (ui/): keys pressed while our own window has focus;
//   injected  tests push events by hand.
// Events carry Windows virtual-key codes (the key tables are written in them) and are delivered on the
// thread the service's poster runs them on (the UI thread in the program).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zq::platform {

enum class HookMode {
    KeyCapture, // one key at a time for the button editor
    Recording,  // keys and mouse buttons for the macro recorder
};

enum class HookBackendKind { None, Evdev, X11, InWindow, Injected };

// A short fixed name of the backend, for diagnostics and the control channel.
constexpr const char* hookBackendName(HookBackendKind kind) {
    switch (kind) {
    case HookBackendKind::None:
        return "none";
    case HookBackendKind::Evdev:
        return "evdev";
    case HookBackendKind::X11:
        return "x11";
    case HookBackendKind::InWindow:
        return "in-window";
    case HookBackendKind::Injected:
        return "injected";
    }
    return "none";
}

// Flags of a key event, as the key tables expect them.
// Bit 0: an extended key (the right-hand block, keypad Enter); bit 7: the key was released.
inline constexpr std::uint32_t kKeyFlagExtended = 0x01;
inline constexpr std::uint32_t kKeyFlagUp = 0x80;

struct KeyHookEvent {
    std::uint32_t virtualKey = 0; // Windows virtual-key code
    std::uint32_t flags = 0;      // kKeyFlagExtended | kKeyFlagUp
    bool up() const { return (flags & kKeyFlagUp) != 0; }
    bool extended() const { return (flags & kKeyFlagExtended) != 0; }
    bool operator==(const KeyHookEvent&) const = default;
};

enum class MouseHookButton { Left, Right, Middle, Back, Forward };

struct MouseHookEvent {
    MouseHookButton button = MouseHookButton::Left;
    bool down = true;
    bool operator==(const MouseHookEvent&) const = default;
};

struct HookCallbacks {
    std::function<void(const KeyHookEvent&)> key;
    std::function<void(const MouseHookEvent&)> mouse; // Recording only
};

class InputHookService {
public:
    virtual ~InputHookService() = default;
    // Installs the hooks for `mode`, replacing any installed ones. False when no backend could start;
    // lastError() then says why.
    virtual bool install(HookMode mode, HookCallbacks callbacks) = 0;
    // Removes every hook and releases every grab. Safe to call when nothing is installed.
    virtual void removeAll() = 0;
    virtual bool installed() const = 0;
    // The backend that delivers events now (None while nothing is installed).
    virtual HookBackendKind activeBackend() const = 0;
    // True when the active backend holds keys back from other applications (evdev grabs).
    virtual bool holdsKeysBack() const = 0;
    virtual std::string lastError() const = 0;
};

} // namespace zq::platform
