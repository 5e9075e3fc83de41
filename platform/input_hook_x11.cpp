#include "platform/input_hook_x11.h"

#include "platform/key_code_map.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace zq::platform {

namespace {

std::optional<MouseHookButton> buttonOf(int detail) {
    switch (detail) {
    case 1:
        return MouseHookButton::Left;
    case 2:
        return MouseHookButton::Middle;
    case 3:
        return MouseHookButton::Right;
    case 8:
        return MouseHookButton::Back;
    case 9:
        return MouseHookButton::Forward;
    default:
        return std::nullopt; // 4-7 are the wheel's steps
    }
}

Display* openDisplay(const std::string& name, std::string& error) {
    const char* env = std::getenv("DISPLAY");
    if (name.empty() && (!env || !*env)) {
        error = "no X display (DISPLAY is not set)";
        return nullptr;
    }
    Display* d = XOpenDisplay(name.empty() ? nullptr : name.c_str());
    if (!d) error = "cannot connect to the X display " + (name.empty() ? std::string(env) : name);
    return d;
}

} // namespace

struct X11InputHooks::Session {
    Session(HookCallbacks c, bool mouse) : callbacks(std::move(c)), wantMouse(mouse) {}
    ~Session() {
        if (display) XCloseDisplay(display);
        if (stopFd >= 0) ::close(stopFd);
    }
    HookCallbacks callbacks;
    const bool wantMouse;
    Display* display = nullptr; // used by the reader thread alone once it runs
    int xiOpcode = 0;
    int stopFd = -1;
    std::atomic<bool> live{true};
};

X11InputHooks::X11InputHooks(HookPoster poster, std::string displayName)
    : poster_(std::move(poster)), displayName_(std::move(displayName)) {}

X11InputHooks::~X11InputHooks() {
    removeAll();
}

bool X11InputHooks::install(HookMode mode, HookCallbacks callbacks) {
    removeAll();
    lastError_.clear();
    const bool wantMouse = mode == HookMode::Recording && static_cast<bool>(callbacks.mouse);
    auto session = std::make_shared<Session>(std::move(callbacks), wantMouse);
    const auto fail = [this](const std::string& what) {
        lastError_ = "x11: " + what;
        return false;
    };
    std::string error;
    session->display = openDisplay(displayName_, error);
    if (!session->display) return fail(error);
    Display* d = session->display;
    int event = 0;
    int errorBase = 0;
    if (!XQueryExtension(d, "XInputExtension", &session->xiOpcode, &event, &errorBase))
        return fail("the X server has no XInput extension");
    // Announcing 2.2 asks for raw events even while another client holds a grab (2.1 and later).
    int major = 2;
    int minor = 2;
    if (XIQueryVersion(d, &major, &minor) != Success || major < 2)
        return fail("the X server's XInput is older than version 2");

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    if (session->callbacks.key) {
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
    }
    if (wantMouse) {
        XISetMask(bits, XI_RawButtonPress);
        XISetMask(bits, XI_RawButtonRelease);
    }
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(d, DefaultRootWindow(d), &mask, 1);
    // Once the server has the selection, every key pressed after install() returns is seen.
    XSync(d, False);

    session->stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (session->stopFd < 0) return fail(std::string("eventfd: ") + std::strerror(errno));
    session_ = std::move(session);
    thread_ = std::thread([this, s = session_] { run(s); });
    return true;
}

void X11InputHooks::removeAll() {
    if (!session_) return;
    session_->live = false;
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(session_->stopFd, &one, sizeof one);
        thread_.join();
    }
    session_.reset();
}

void X11InputHooks::run(const std::shared_ptr<Session>& shared) {
    Session& s = *shared;
    Display* d = s.display;
    const auto handle = [&](XEvent& e) {
        if (e.type == MappingNotify) {
            XRefreshKeyboardMapping(&e.xmapping);
            return;
        }
        if (e.xcookie.type != GenericEvent || e.xcookie.extension != s.xiOpcode) return;
        if (!XGetEventData(d, &e.xcookie)) return;
        const auto* raw = static_cast<const XIRawEvent*>(e.xcookie.data);
        const int type = e.xcookie.evtype;
        if ((type == XI_RawKeyPress || type == XI_RawKeyRelease) && s.callbacks.key) {
            const auto keycode = static_cast<KeyCode>(raw->detail);
            const auto keysym = static_cast<std::uint32_t>(XkbKeycodeToKeysym(d, keycode, 0, 0));
            if (const auto vk = virtualKeyForX11Keycode(keycode, keysym)) {
                std::uint32_t flags = vk->extended ? kKeyFlagExtended : 0;
                if (type == XI_RawKeyRelease) flags |= kKeyFlagUp;
                poster_([shared, key = KeyHookEvent{vk->code, flags}] {
                    if (shared->live) shared->callbacks.key(key);
                });
            }
        } else if ((type == XI_RawButtonPress || type == XI_RawButtonRelease) && s.wantMouse) {
            if (const auto button = buttonOf(raw->detail)) {
                poster_([shared, mouse = MouseHookEvent{*button, type == XI_RawButtonPress}] {
                    if (shared->live) shared->callbacks.mouse(mouse);
                });
            }
        }
        XFreeEventData(d, &e.xcookie);
    };

    pollfd fds[2] = {{s.stopFd, POLLIN, 0}, {ConnectionNumber(d), POLLIN, 0}};
    for (;;) {
        // Events may already sit in Xlib's queue (read with an earlier reply): drain before waiting.
        while (XPending(d) > 0) {
            XEvent e;
            XNextEvent(d, &e);
            handle(e);
        }
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents != 0) return;
        if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) return;
    }
}

DesktopLockToggle makeX11LockToggle(std::string displayName) {
    struct Connection {
        ~Connection() {
            if (display) XCloseDisplay(display);
        }
        std::mutex mutex;
        std::string name;
        Display* display = nullptr;
        bool tried = false;
    };
    auto connection = std::make_shared<Connection>();
    connection->name = std::move(displayName);
    return [connection](LockKey lock) -> std::optional<bool> {
        std::lock_guard lock_(connection->mutex);
        if (!connection->tried) {
            connection->tried = true;
            std::string error;
            connection->display = openDisplay(connection->name, error);
        }
        Display* d = connection->display;
        if (!d) return std::nullopt;
        unsigned mask = LockMask;
        if (lock == LockKey::Num) mask = XkbKeysymToModifiers(d, XK_Num_Lock);
        if (lock == LockKey::Scroll) mask = XkbKeysymToModifiers(d, XK_Scroll_Lock);
        if (mask == 0) return std::nullopt;
        XkbStateRec state{};
        if (XkbGetState(d, XkbUseCoreKbd, &state) != Success) return std::nullopt;
        const bool on = (state.locked_mods & mask) == 0;
        if (!XkbLockModifiers(d, XkbUseCoreKbd, mask, on ? mask : 0)) return std::nullopt;
        XSync(d, False);
        return on;
    };
}

} // namespace zq::platform
