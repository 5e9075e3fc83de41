// The evdev capture on recorded event streams: translation, and the reader with its grabs, lock keys,
// unplugging and stop, over device nodes played back through pipes (no input device exists here).
#include "platform/input_hook_evdev.h"
#include "unit/platform/hook_test_support.h"
#include "unit/platform/temp_folder.h"

#include <gtest/gtest.h>

#include <linux/input.h>

#include <atomic>
#include <fcntl.h>
#include <map>
#include <unistd.h>
#include <vector>

namespace {
using namespace zq::platform;
using zq::test::QueuedPoster;
using zq::test::TempFolder;

input_event ev(std::uint16_t type, std::uint16_t code, std::int32_t value) {
    input_event e{};
    e.type = type;
    e.code = code;
    e.value = value;
    return e;
}
input_event syn() {
    return ev(EV_SYN, SYN_REPORT, 0);
}

// What a USB keyboard sends for A pressed, held (two repeats) and released.
const std::vector<input_event> kHoldA = {ev(EV_MSC, MSC_SCAN, 0x70004),
                                         ev(EV_KEY, KEY_A, 1),
                                         syn(),
                                         ev(EV_KEY, KEY_A, 2),
                                         syn(),
                                         ev(EV_KEY, KEY_A, 2),
                                         syn(),
                                         ev(EV_MSC, MSC_SCAN, 0x70004),
                                         ev(EV_KEY, KEY_A, 0),
                                         syn()};

std::vector<KeyHookEvent> keysOf(const std::vector<input_event>& stream) {
    std::vector<KeyHookEvent> keys;
    for (const input_event& e : stream)
        if (auto t = translateEvdevEvent({e.type, e.code, e.value}); t.key) keys.push_back(*t.key);
    return keys;
}

TEST(EvdevTranslation, KeysRepeatsAndReleasesCarryTheirFlags) {
    EXPECT_EQ(keysOf(kHoldA), (std::vector<KeyHookEvent>{{0x41, 0}, {0x41, 0}, {0x41, 0}, {0x41, 0x80}}));
    EXPECT_EQ(keysOf({ev(EV_KEY, KEY_KPENTER, 1), syn(), ev(EV_KEY, KEY_KPENTER, 0), syn()}),
              (std::vector<KeyHookEvent>{{0x0D, 0x01}, {0x0D, 0x81}}));
    EXPECT_EQ(keysOf({ev(EV_KEY, KEY_RIGHTCTRL, 1), ev(EV_KEY, KEY_ENTER, 1), ev(EV_KEY, KEY_ENTER, 0),
                      ev(EV_KEY, KEY_RIGHTCTRL, 0)}),
              (std::vector<KeyHookEvent>{{0xA3, 0x01}, {0x0D, 0}, {0x0D, 0x80}, {0xA3, 0x81}}));
    // Keys the table does not know, LED echoes, relative motion and odd values give nothing.
    EXPECT_TRUE(keysOf({ev(EV_KEY, KEY_PROG1, 1), ev(EV_LED, LED_CAPSL, 1), ev(EV_REL, REL_X, 4),
                        ev(EV_KEY, KEY_B, 3), ev(EV_KEY, KEY_B, -1)})
                    .empty());
}

TEST(EvdevTranslation, MouseButtonsAndLockKeys) {
    const struct {
        std::uint16_t code;
        std::int32_t value;
        std::optional<MouseHookEvent> mouse;
    } buttons[] = {
        {BTN_LEFT, 1, MouseHookEvent{MouseHookButton::Left, true}},
        {BTN_LEFT, 0, MouseHookEvent{MouseHookButton::Left, false}},
        {BTN_RIGHT, 1, MouseHookEvent{MouseHookButton::Right, true}},
        {BTN_MIDDLE, 0, MouseHookEvent{MouseHookButton::Middle, false}},
        {BTN_SIDE, 1, MouseHookEvent{MouseHookButton::Back, true}},
        {BTN_EXTRA, 1, MouseHookEvent{MouseHookButton::Forward, true}},
        {BTN_TASK, 1, std::nullopt},
        {BTN_LEFT, 2, std::nullopt},
    };
    for (const auto& b : buttons) {
        const TranslatedEvent t = translateEvdevEvent({EV_KEY, b.code, b.value});
        EXPECT_EQ(t.mouse, b.mouse) << b.code << "=" << b.value;
        EXPECT_FALSE(t.key);
    }
    // A lock key's press, not its repeat or release, is what toggles a lock.
    EXPECT_EQ(translateEvdevEvent({EV_KEY, KEY_CAPSLOCK, 1}).lockPressed, LockKey::Caps);
    EXPECT_EQ(translateEvdevEvent({EV_KEY, KEY_NUMLOCK, 1}).lockPressed, LockKey::Num);
    EXPECT_EQ(translateEvdevEvent({EV_KEY, KEY_SCROLLLOCK, 1}).lockPressed, LockKey::Scroll);
    EXPECT_FALSE(translateEvdevEvent({EV_KEY, KEY_CAPSLOCK, 2}).lockPressed);
    EXPECT_FALSE(translateEvdevEvent({EV_KEY, KEY_CAPSLOCK, 0}).lockPressed);
    EXPECT_FALSE(translateEvdevEvent({EV_KEY, KEY_A, 1}).lockPressed);
}

// A device node played back through a pipe: the test writes recorded events, the reader reads them.
// What the backend does to the device (grab, LEDs) is kept in a probe the test holds.
struct Probe {
    std::atomic<bool> grabbed{false};
    std::atomic<int> grabCalls{0};
    std::atomic<int> capsLed{-1};
    std::atomic<bool> closed{false};
};

class PipeDevice final : public EvdevDevice {
public:
    enum class Kind { Keyboard, Mouse, KeysWithPointer };
    PipeDevice(Kind kind, std::shared_ptr<Probe> probe, int readFd, std::map<unsigned, int> keysDown)
        : kind_(kind), probe_(std::move(probe)), fd_(readFd), keys_(std::move(keysDown)) {}
    ~PipeDevice() override {
        ::close(fd_);
        probe_->closed = true;
    }
    int fd() const override { return fd_; }
    std::string name() const override { return "pipe"; }
    bool hasKeys() const override { return kind_ != Kind::Mouse; }
    bool isKeyboard() const override { return kind_ == Kind::Keyboard; }
    bool hasMouseButtons() const override { return kind_ != Kind::Keyboard; }
    bool read(std::vector<RawInputEvent>& out) override {
        for (;;) {
            input_event e{};
            const ssize_t n = ::read(fd_, &e, sizeof e);
            if (n == 0) return false; // the writer closed: unplugged
            if (n < 0) return errno == EAGAIN;
            out.push_back({e.type, e.code, e.value});
            if (e.type == EV_KEY) keys_[e.code] = e.value;
            if (e.type == EV_LED && e.code == LED_CAPSL) probe_->capsLed = e.value;
        }
    }
    bool anyKeyDown() const override {
        for (const auto& [code, value] : keys_)
            if (value != 0) return true;
        return false;
    }
    bool grab(bool on) override {
        ++probe_->grabCalls;
        probe_->grabbed = on;
        return true;
    }
    std::optional<bool> led(LockKey lock) const override {
        if (lock != LockKey::Caps || probe_->capsLed < 0) return std::nullopt;
        return probe_->capsLed == 1;
    }
    void setLed(LockKey lock, bool on) override {
        if (lock == LockKey::Caps) probe_->capsLed = on ? 1 : 0;
    }

private:
    Kind kind_;
    std::shared_ptr<Probe> probe_;
    int fd_;
    std::map<unsigned, int> keys_;
};

// The nodes the backend will find: each a pipe whose writing end the test keeps.
class Nodes {
public:
    ~Nodes() {
        for (int fd : writers_)
            if (fd >= 0) ::close(fd);
    }
    std::shared_ptr<Probe> add(PipeDevice::Kind kind, std::map<unsigned, int> keysDown = {}) {
        int fds[2];
        EXPECT_EQ(::pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0);
        auto probe = std::make_shared<Probe>();
        pending_.push_back(std::make_unique<PipeDevice>(kind, probe, fds[0], std::move(keysDown)));
        writers_.push_back(fds[1]);
        return probe;
    }
    void play(std::size_t node, const std::vector<input_event>& events) {
        const auto bytes = static_cast<ssize_t>(events.size() * sizeof(input_event));
        ASSERT_EQ(::write(writers_[node], events.data(), static_cast<std::size_t>(bytes)), bytes);
    }
    void unplug(std::size_t node) {
        ::close(writers_[node]);
        writers_[node] = -1;
    }
    EvdevOptions options(DesktopLockToggle toggle = {}) {
        EvdevOptions o;
        o.folder = folder_.path();
        o.open = [this](const std::filesystem::path&, std::string&) { return std::move(pending_); };
        o.desktopLock = std::move(toggle);
        return o;
    }

private:
    TempFolder folder_;
    std::vector<std::unique_ptr<EvdevDevice>> pending_;
    std::vector<int> writers_;
};

struct Seen {
    std::vector<KeyHookEvent> keys;
    std::vector<MouseHookEvent> mouse;
    HookCallbacks callbacks(bool withMouse) {
        HookCallbacks c;
        c.key = [this](const KeyHookEvent& k) { keys.push_back(k); };
        if (withMouse) c.mouse = [this](const MouseHookEvent& m) { mouse.push_back(m); };
        return c;
    }
};

TEST(EvdevInputHooks, WithoutReadableNodesItFailsCleanlyAndSaysWhy) {
    QueuedPoster q;
    Seen seen;
    {
        EvdevInputHooks hooks(q.poster(), EvdevOptions{"/nonexistent/input", {}, {}});
        EXPECT_FALSE(hooks.install(HookMode::KeyCapture, seen.callbacks(false)));
        EXPECT_NE(hooks.lastError().find("/nonexistent/input does not exist"), std::string::npos)
            << hooks.lastError();
        EXPECT_FALSE(hooks.installed());
        EXPECT_EQ(hooks.activeBackend(), HookBackendKind::None);
        hooks.removeAll();
    }
    // The real opener on folders that hold no node, or a node libevdev cannot take.
    TempFolder dir;
    EvdevInputHooks hooks(q.poster(), EvdevOptions{dir.path(), {}, {}});
    EXPECT_FALSE(hooks.install(HookMode::KeyCapture, seen.callbacks(false)));
    EXPECT_NE(hooks.lastError().find("no input device nodes"), std::string::npos) << hooks.lastError();
    dir.write("event3", "not a device");
    EXPECT_FALSE(hooks.install(HookMode::Recording, seen.callbacks(true)));
    EXPECT_NE(hooks.lastError().find("could be opened"), std::string::npos) << hooks.lastError();
}

TEST(EvdevInputHooks, ServesAllThatIsAskedOrNothing) {
    QueuedPoster q;
    Seen seen;
    {
        Nodes nodes;
        nodes.add(PipeDevice::Kind::Mouse);
        EvdevInputHooks hooks(q.poster(), nodes.options());
        EXPECT_FALSE(hooks.install(HookMode::KeyCapture, seen.callbacks(false)));
        EXPECT_NE(hooks.lastError().find("no keyboard"), std::string::npos) << hooks.lastError();
    }
    Nodes nodes;
    auto keyboard = nodes.add(PipeDevice::Kind::Keyboard);
    EvdevInputHooks hooks(q.poster(), nodes.options());
    EXPECT_FALSE(hooks.install(HookMode::Recording, seen.callbacks(true)));
    EXPECT_NE(hooks.lastError().find("no mouse"), std::string::npos) << hooks.lastError();
    EXPECT_TRUE(keyboard->closed) << "a device of a failed install is closed";
    EXPECT_FALSE(keyboard->grabbed);
}

TEST(EvdevInputHooks, KeyboardsAreHeldOnlyWhileInstalledAndEventsArriveInOrder) {
    QueuedPoster q;
    Seen seen;
    Nodes nodes;
    auto keyboard = nodes.add(PipeDevice::Kind::Keyboard);
    auto mouse = nodes.add(PipeDevice::Kind::Mouse);
    EvdevInputHooks hooks(q.poster(), nodes.options());
    ASSERT_TRUE(hooks.install(HookMode::KeyCapture, seen.callbacks(false))) << hooks.lastError();
    EXPECT_EQ(hooks.activeBackend(), HookBackendKind::Evdev);
    EXPECT_TRUE(keyboard->grabbed);
    EXPECT_TRUE(hooks.holdsKeysBack());
    EXPECT_TRUE(mouse->closed) << "a key capture does not read mice";

    nodes.play(0, kHoldA);
    nodes.play(0, {ev(EV_KEY, KEY_KPENTER, 1), syn(), ev(EV_KEY, KEY_KPENTER, 0), syn()});
    ASSERT_TRUE(q.runUntil([&] { return seen.keys.size() == 6; }));
    EXPECT_EQ(seen.keys, (std::vector<KeyHookEvent>{
                             {0x41, 0}, {0x41, 0}, {0x41, 0}, {0x41, 0x80}, {0x0D, 0x01}, {0x0D, 0x81}}));

    // Events still queued when the hooks go are not delivered.
    nodes.play(0, {ev(EV_KEY, KEY_B, 1), syn()});
    ASSERT_TRUE(q.waitPending(1));
    hooks.removeAll();
    q.drain();
    EXPECT_EQ(seen.keys.size(), 6u);
    EXPECT_FALSE(keyboard->grabbed);
    EXPECT_TRUE(keyboard->closed);
    EXPECT_FALSE(hooks.installed());
    EXPECT_FALSE(hooks.holdsKeysBack());
}

TEST(EvdevInputHooks, AKeyboardWithAKeyHeldIsGrabbedOnceItsKeysAreUp) {
    QueuedPoster q;
    Seen seen;
    Nodes nodes;
    // Enter still down from the press that started the capture.
    auto keyboard = nodes.add(PipeDevice::Kind::Keyboard, {{KEY_ENTER, 1}});
    EvdevInputHooks hooks(q.poster(), nodes.options());
    ASSERT_TRUE(hooks.install(HookMode::KeyCapture, seen.callbacks(false)));
    EXPECT_FALSE(keyboard->grabbed) << "the desktop must see Enter's release";
    EXPECT_TRUE(hooks.holdsKeysBack());
    nodes.play(0, {ev(EV_KEY, KEY_ENTER, 0), syn()});
    ASSERT_TRUE(q.runUntil([&] { return seen.keys.size() == 1 && keyboard->grabbed; }));
    EXPECT_EQ(seen.keys[0], (KeyHookEvent{0x0D, 0x80}));
    EXPECT_EQ(keyboard->grabCalls, 1);
}

TEST(EvdevInputHooks, RecordingReadsMouseButtonsWithoutHoldingTheMouse) {
    QueuedPoster q;
    Seen seen;
    Nodes nodes;
    auto keyboard = nodes.add(PipeDevice::Kind::Keyboard);
    auto mouse = nodes.add(PipeDevice::Kind::Mouse);
    EvdevInputHooks hooks(q.poster(), nodes.options());
    ASSERT_TRUE(hooks.install(HookMode::Recording, seen.callbacks(true)));
    EXPECT_FALSE(mouse->grabbed);
    nodes.play(1, {ev(EV_REL, REL_X, 3), syn(), ev(EV_KEY, BTN_LEFT, 1), syn(), ev(EV_KEY, BTN_LEFT, 0),
                   syn(), ev(EV_REL, REL_WHEEL, -1), syn(), ev(EV_KEY, BTN_EXTRA, 1), syn()});
    nodes.play(0, {ev(EV_KEY, KEY_LEFTSHIFT, 1), syn()});
    ASSERT_TRUE(q.runUntil([&] { return seen.mouse.size() == 3 && seen.keys.size() == 1; }));
    EXPECT_EQ(seen.mouse, (std::vector<MouseHookEvent>{{MouseHookButton::Left, true},
                                                       {MouseHookButton::Left, false},
                                                       {MouseHookButton::Forward, true}}));
    EXPECT_EQ(seen.keys[0], (KeyHookEvent{0xA0, 0}));
}

TEST(EvdevInputHooks, CapsLockUnderAGrabTogglesTheDesktopLockAndTheLedFollowsIt) {
    QueuedPoster q;
    Seen seen;
    Nodes nodes;
    auto keyboard = nodes.add(PipeDevice::Kind::Keyboard);
    auto combo = nodes.add(PipeDevice::Kind::KeysWithPointer); // read, never grabbed: the desktop sees it
    keyboard->capsLed = 0;
    std::atomic<int> toggles{0};
    std::atomic<bool> desktopAnswers{true};
    bool desktopCaps = false;
    EvdevInputHooks hooks(q.poster(), nodes.options([&](LockKey lock) -> std::optional<bool> {
        if (lock != LockKey::Caps || !desktopAnswers) return std::nullopt;
        ++toggles;
        desktopCaps = !desktopCaps;
        return desktopCaps;
    }));
    ASSERT_TRUE(hooks.install(HookMode::KeyCapture, seen.callbacks(false)));
    ASSERT_FALSE(combo->grabbed);

    nodes.play(0, {ev(EV_KEY, KEY_CAPSLOCK, 1), syn(), ev(EV_KEY, KEY_CAPSLOCK, 2), syn(),
                   ev(EV_KEY, KEY_CAPSLOCK, 0), syn()});
    ASSERT_TRUE(q.runUntil([&] { return seen.keys.size() == 3; }));
    EXPECT_EQ(toggles, 1) << "one press, one toggle; the repeat and the release toggle nothing";
    EXPECT_EQ(keyboard->capsLed, 1);
    EXPECT_EQ(seen.keys[0], (KeyHookEvent{0x14, 0})) << "the lock key is captured like any other";

    // Caps Lock on a node the desktop reads itself is left to the desktop.
    nodes.play(1, {ev(EV_KEY, KEY_CAPSLOCK, 1), syn()});
    ASSERT_TRUE(q.runUntil([&] { return seen.keys.size() == 4; }));
    EXPECT_EQ(toggles, 1);

    // Where the desktop cannot be told, the LED stays as the desktop's lock is.
    desktopAnswers = false;
    nodes.play(0, {ev(EV_KEY, KEY_CAPSLOCK, 1), syn(), ev(EV_KEY, KEY_CAPSLOCK, 0), syn()});
    ASSERT_TRUE(q.runUntil([&] { return seen.keys.size() == 6; }));
    EXPECT_EQ(keyboard->capsLed, 1);
}

TEST(EvdevInputHooks, AnUnpluggedDeviceIsDroppedAndTheOthersGoOn) {
    QueuedPoster q;
    Seen seen;
    Nodes nodes;
    auto first = nodes.add(PipeDevice::Kind::Keyboard);
    auto second = nodes.add(PipeDevice::Kind::Keyboard);
    EvdevInputHooks hooks(q.poster(), nodes.options());
    ASSERT_TRUE(hooks.install(HookMode::KeyCapture, seen.callbacks(false)));
    nodes.play(0, {ev(EV_KEY, KEY_A, 1), syn()});
    nodes.unplug(0);
    ASSERT_TRUE(q.runUntil([&] { return seen.keys.size() == 1 && first->closed; }));
    nodes.play(1, {ev(EV_KEY, KEY_B, 1), syn()});
    ASSERT_TRUE(q.runUntil([&] { return seen.keys.size() == 2; }));
    EXPECT_EQ(seen.keys[1], (KeyHookEvent{0x42, 0}));
    hooks.removeAll();
    EXPECT_FALSE(second->grabbed);
}

TEST(EvdevInputHooks, ACallbackMayRemoveOrReinstallTheHooks) {
    QueuedPoster q;
    Nodes nodes;
    auto keyboard = nodes.add(PipeDevice::Kind::Keyboard);
    nodes.add(PipeDevice::Kind::Keyboard);
    EvdevInputHooks hooks(q.poster(), nodes.options());
    int captured = 0;
    HookCallbacks once;
    once.key = [&](const KeyHookEvent&) {
        ++captured;
        hooks.removeAll(); // a capture ends with its first key
    };
    ASSERT_TRUE(hooks.install(HookMode::KeyCapture, once));
    nodes.play(0, {ev(EV_KEY, KEY_A, 1), syn(), ev(EV_KEY, KEY_A, 0), syn()});
    ASSERT_TRUE(q.runUntil([&] { return !hooks.installed(); }));
    q.drain();
    EXPECT_EQ(captured, 1);
    EXPECT_FALSE(keyboard->grabbed);
}

} // namespace
