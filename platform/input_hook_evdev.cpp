#include "platform/input_hook_evdev.h"

#include "platform/key_code_map.h"

#include <libevdev/libevdev.h>
#include <linux/input-event-codes.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace zq::platform {

namespace {

namespace fs = std::filesystem;

unsigned ledCode(LockKey lock) {
    switch (lock) {
    case LockKey::Caps:
        return LED_CAPSL;
    case LockKey::Num:
        return LED_NUML;
    case LockKey::Scroll:
        return LED_SCROLLL;
    }
    return LED_CAPSL;
}

std::optional<LockKey> lockKeyOf(unsigned code) {
    switch (code) {
    case KEY_CAPSLOCK:
        return LockKey::Caps;
    case KEY_NUMLOCK:
        return LockKey::Num;
    case KEY_SCROLLLOCK:
        return LockKey::Scroll;
    default:
        return std::nullopt;
    }
}

std::optional<MouseHookButton> mouseButtonOf(unsigned code) {
    switch (code) {
    case BTN_LEFT:
        return MouseHookButton::Left;
    case BTN_RIGHT:
        return MouseHookButton::Right;
    case BTN_MIDDLE:
        return MouseHookButton::Middle;
    case BTN_SIDE:
        return MouseHookButton::Back;
    case BTN_EXTRA:
        return MouseHookButton::Forward;
    default:
        return std::nullopt;
    }
}

class LibevdevDevice final : public EvdevDevice {
public:
    LibevdevDevice(int fd, libevdev* dev, bool writable) : fd_(fd), dev_(dev), writable_(writable) {
        for (const KeyCodeMapping& m : keyCodeMap())
            if (libevdev_has_event_code(dev_, EV_KEY, m.linuxCode)) hasKeys_ = true;
        const bool typing = libevdev_has_event_code(dev_, EV_KEY, KEY_A) &&
                            libevdev_has_event_code(dev_, EV_KEY, KEY_Z) &&
                            libevdev_has_event_code(dev_, EV_KEY, KEY_SPACE);
        // A node that moves a pointer too is never grabbed: that would take the pointer away as well.
        const bool pointer = libevdev_has_event_code(dev_, EV_KEY, BTN_LEFT) ||
                             libevdev_has_event_code(dev_, EV_REL, REL_X) ||
                             libevdev_has_event_code(dev_, EV_ABS, ABS_X);
        keyboard_ = typing && !pointer;
        mouse_ = libevdev_has_event_code(dev_, EV_KEY, BTN_LEFT);
    }
    ~LibevdevDevice() override {
        libevdev_free(dev_);
        ::close(fd_);
    }
    LibevdevDevice(const LibevdevDevice&) = delete;
    LibevdevDevice& operator=(const LibevdevDevice&) = delete;

    int fd() const override { return fd_; }
    std::string name() const override {
        const char* n = libevdev_get_name(dev_);
        return n ? n : "";
    }
    bool hasKeys() const override { return hasKeys_; }
    bool isKeyboard() const override { return keyboard_; }
    bool hasMouseButtons() const override { return mouse_; }

    bool read(std::vector<RawInputEvent>& out) override {
        // After SYN_DROPPED libevdev hands out the difference between what we saw and the device's state
        // now (keys released meanwhile among them) in sync mode, then goes on normally.
        unsigned flags = LIBEVDEV_READ_FLAG_NORMAL;
        for (;;) {
            input_event ev{};
            const int rc = libevdev_next_event(dev_, flags, &ev);
            if (rc == LIBEVDEV_READ_STATUS_SUCCESS) {
                out.push_back({ev.type, ev.code, ev.value});
            } else if (rc == LIBEVDEV_READ_STATUS_SYNC) {
                if (flags == LIBEVDEV_READ_FLAG_SYNC) out.push_back({ev.type, ev.code, ev.value});
                flags = LIBEVDEV_READ_FLAG_SYNC;
            } else if (rc == -EAGAIN) {
                if (flags == LIBEVDEV_READ_FLAG_NORMAL) return true;
                flags = LIBEVDEV_READ_FLAG_NORMAL;
            } else {
                return false; // -ENODEV: unplugged
            }
        }
    }

    bool anyKeyDown() const override {
        for (unsigned code = 0; code <= KEY_MAX; ++code)
            if (libevdev_has_event_code(dev_, EV_KEY, code) && libevdev_get_event_value(dev_, EV_KEY, code))
                return true;
        return false;
    }
    bool grab(bool on) override { return libevdev_grab(dev_, on ? LIBEVDEV_GRAB : LIBEVDEV_UNGRAB) == 0; }
    std::optional<bool> led(LockKey lock) const override {
        if (!libevdev_has_event_code(dev_, EV_LED, ledCode(lock))) return std::nullopt;
        return libevdev_get_event_value(dev_, EV_LED, ledCode(lock)) != 0;
    }
    void setLed(LockKey lock, bool on) override {
        if (!writable_ || !libevdev_has_event_code(dev_, EV_LED, ledCode(lock))) return;
        libevdev_kernel_set_led_value(dev_, ledCode(lock), on ? LIBEVDEV_LED_ON : LIBEVDEV_LED_OFF);
    }

private:
    int fd_;
    libevdev* dev_;
    bool writable_;
    bool hasKeys_ = false;
    bool keyboard_ = false;
    bool mouse_ = false;
};

// "event12" → 12; other names are not event nodes.
std::optional<int> eventNodeNumber(const std::string& name) {
    if (name.size() <= 5 || name.compare(0, 5, "event") != 0) return std::nullopt;
    int n = 0;
    for (std::size_t i = 5; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || n > 100000) return std::nullopt;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

} // namespace

TranslatedEvent translateEvdevEvent(const RawInputEvent& event) {
    TranslatedEvent t;
    if (event.type != EV_KEY || event.value < 0 || event.value > 2) return t;
    if (const auto button = mouseButtonOf(event.code)) {
        if (event.value != 2) t.mouse = MouseHookEvent{*button, event.value == 1};
        return t;
    }
    const auto vk = virtualKeyForLinuxCode(event.code);
    if (!vk) return t;
    std::uint32_t flags = vk->extended ? kKeyFlagExtended : 0;
    if (event.value == 0) flags |= kKeyFlagUp;
    t.key = KeyHookEvent{vk->code, flags};
    if (event.value == 1) t.lockPressed = lockKeyOf(event.code);
    return t;
}

std::vector<std::unique_ptr<EvdevDevice>> openEvdevDevices(const fs::path& folder, std::string& error) {
    std::vector<std::pair<int, fs::path>> nodes;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (const auto n = eventNodeNumber(it->path().filename().string()))
            nodes.emplace_back(*n, it->path());
    std::sort(nodes.begin(), nodes.end());

    std::vector<std::unique_ptr<EvdevDevice>> devices;
    int denied = 0;
    for (const auto& [number, path] : nodes) {
        // Read-write lets the grabbing handle set the LEDs; read-only still captures.
        bool writable = true;
        int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0 && (errno == EACCES || errno == EPERM)) {
            writable = false;
            fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        }
        if (fd < 0) {
            if (errno == EACCES || errno == EPERM) ++denied;
            continue;
        }
        libevdev* dev = nullptr;
        if (libevdev_new_from_fd(fd, &dev) != 0) {
            ::close(fd);
            continue;
        }
        devices.push_back(std::make_unique<LibevdevDevice>(fd, dev, writable));
    }
    if (devices.empty()) {
        if (nodes.empty())
            error = "no input device nodes under " + folder.string();
        else if (denied > 0)
            error = "the " + std::to_string(nodes.size()) + " input devices under " + folder.string() +
                    " cannot be read by this user (not in the \"input\" group)";
        else
            error = "none of the input devices under " + folder.string() + " could be opened";
    }
    return devices;
}

struct EvdevInputHooks::Session {
    explicit Session(HookCallbacks c, bool keys, bool mouse)
        : callbacks(std::move(c)), wantKeys(keys), wantMouse(mouse) {}
    HookCallbacks callbacks;
    const bool wantKeys;
    const bool wantMouse;
    std::atomic<bool> live{true}; // cleared by removeAll: events still queued to the poster are dropped
};

struct EvdevInputHooks::Reader {
    std::unique_ptr<EvdevDevice> device;
    bool wantGrab = false;
    bool grabbed = false;
    bool gone = false;
};

EvdevInputHooks::EvdevInputHooks(HookPoster poster, EvdevOptions options)
    : poster_(std::move(poster)), options_(std::move(options)) {}

EvdevInputHooks::~EvdevInputHooks() {
    removeAll();
}

bool EvdevInputHooks::install(HookMode mode, HookCallbacks callbacks) {
    removeAll();
    lastError_.clear();
    const bool wantKeys = static_cast<bool>(callbacks.key);
    const bool wantMouse = mode == HookMode::Recording && static_cast<bool>(callbacks.mouse);
    const fs::path& folder = options_.folder;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        lastError_ = "evdev: " + folder.string() + " does not exist";
        return false;
    }
    std::string openError;
    auto opened = options_.open ? options_.open(folder, openError) : openEvdevDevices(folder, openError);
    std::vector<std::unique_ptr<Reader>> readers;
    bool keys = false;
    bool mice = false;
    for (auto& device : opened) {
        const bool forKeys = wantKeys && device->hasKeys();
        const bool forMouse = wantMouse && device->hasMouseButtons();
        if (!forKeys && !forMouse) continue;
        keys = keys || forKeys;
        mice = mice || forMouse;
        auto r = std::make_unique<Reader>();
        r->wantGrab = forKeys && device->isKeyboard();
        r->device = std::move(device);
        readers.push_back(std::move(r));
    }
    const auto fail = [&](const std::string& what) {
        lastError_ = "evdev: " + what + (openError.empty() ? "" : " (" + openError + ")");
        return false;
    };
    // Serve all of what is asked or nothing, so the next capture can serve it whole.
    if (wantKeys && !keys) return fail("no keyboard under " + folder.string() + " can be read");
    if (wantMouse && !mice) return fail("no mouse under " + folder.string() + " can be read");

    stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd_ < 0) return fail(std::string("eventfd: ") + std::strerror(errno));

    devices_ = std::move(readers);
    holdsKeys_ = false;
    for (auto& r : devices_) {
        grabWhenKeysAreUp(*r);
        holdsKeys_ = holdsKeys_ || r->wantGrab;
    }
    session_ = std::make_shared<Session>(std::move(callbacks), wantKeys, wantMouse);
    thread_ = std::thread([this] { run(); });
    return true;
}

void EvdevInputHooks::removeAll() {
    if (!session_) return;
    session_->live = false;
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(stopFd_, &one, sizeof one);
        thread_.join();
    }
    for (auto& r : devices_)
        if (r->grabbed) r->device->grab(false);
    devices_.clear();
    ::close(stopFd_);
    stopFd_ = -1;
    session_.reset();
    holdsKeys_ = false;
}

void EvdevInputHooks::grabWhenKeysAreUp(Reader& r) {
    if (!r.wantGrab || r.grabbed || r.device->anyKeyDown()) return;
    r.grabbed = r.device->grab(true);
    // Another program holds it already: it is read without holding its keys back.
    if (!r.grabbed) r.wantGrab = false;
}

void EvdevInputHooks::toggleLock(LockKey lock) {
    if (!options_.desktopLock) return;
    const std::optional<bool> on = options_.desktopLock(lock);
    if (!on) return;
    for (auto& r : devices_)
        if (r->grabbed) r->device->setLed(lock, *on);
}

void EvdevInputHooks::deliver(const TranslatedEvent& t, Reader& from) {
    const std::shared_ptr<Session>& s = session_;
    if (t.key && s->wantKeys && from.device->hasKeys()) {
        // The lock is toggled for keys the desktop did not see: those of a grabbed keyboard.
        if (t.lockPressed && from.grabbed) toggleLock(*t.lockPressed);
        poster_([s, key = *t.key] {
            if (s->live) s->callbacks.key(key);
        });
    }
    if (t.mouse && s->wantMouse && from.device->hasMouseButtons()) {
        poster_([s, mouse = *t.mouse] {
            if (s->live) s->callbacks.mouse(mouse);
        });
    }
}

void EvdevInputHooks::run() {
    std::vector<pollfd> fds;
    std::vector<RawInputEvent> events;
    for (;;) {
        fds.clear();
        fds.push_back({stopFd_, POLLIN, 0});
        for (const auto& r : devices_) fds.push_back({r->device->fd(), POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents != 0) return;
        for (std::size_t i = 0; i < devices_.size(); ++i) {
            Reader& r = *devices_[i];
            const short revents = fds[i + 1].revents;
            if (revents == 0) continue;
            bool alive = true;
            if (revents & POLLIN) {
                events.clear();
                alive = r.device->read(events);
                for (const RawInputEvent& ev : events) deliver(translateEvdevEvent(ev), r);
            }
            if (revents & (POLLHUP | POLLERR | POLLNVAL)) alive = false;
            if (!alive)
                r.gone = true;
            else
                grabWhenKeysAreUp(r);
        }
        // An unplugged device: its node is closed with it (the kernel already dropped any grab).
        std::erase_if(devices_, [](const std::unique_ptr<Reader>& r) { return r->gone; });
    }
}

} // namespace zq::platform
