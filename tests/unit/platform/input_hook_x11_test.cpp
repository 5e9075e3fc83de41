// The X11 capture against a real X server (Xvfb under `make test`): keys and buttons made with XTest on
// another connection arrive as virtual keys and mouse buttons. Skipped only where no X server runs.
#include "platform/input_hook_x11.h"
#include "unit/platform/hook_test_support.h"

#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {
using namespace zq::platform;
using zq::test::QueuedPoster;

bool haveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d && *d;
}

// A second client that types and clicks. Connecting is retried briefly: a bare test server that just
// lost its last client resets and refuses connections for a moment.
class Typist {
public:
    Typist() {
        for (int attempt = 0; attempt < 100 && !d_; ++attempt) {
            d_ = XOpenDisplay(nullptr);
            if (!d_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~Typist() {
        if (d_) XCloseDisplay(d_);
    }
    Display* display() const { return d_; }
    void key(KeySym sym, bool down) {
        XTestFakeKeyEvent(d_, XKeysymToKeycode(d_, sym), down ? True : False, CurrentTime);
        XSync(d_, False);
    }
    void button(unsigned button, bool down) {
        XTestFakeButtonEvent(d_, button, down ? True : False, CurrentTime);
        XSync(d_, False);
    }

private:
    Display* d_ = nullptr;
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

// The server handles faked input on a thread of its own, after XSync has returned: what an earlier test
// typed may still arrive. F11 typed now comes after all of it; once its release is seen, start clean.
bool startClean(Typist& typist, QueuedPoster& q, Seen& seen) {
    typist.key(XK_F11, true);
    typist.key(XK_F11, false);
    const bool seenMarker = q.runUntil(
        [&] { return !seen.keys.empty() && seen.keys.back().virtualKey == 0x7A && seen.keys.back().up(); });
    seen.keys.clear();
    seen.mouse.clear();
    return seenMarker;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs(const std::vector<KeyHookEvent>& keys) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
    for (const auto& k : keys) out.emplace_back(k.virtualKey, k.flags);
    return out;
}

TEST(X11InputHooks, WithoutAnXServerItFailsAndSaysWhy) {
    QueuedPoster q;
    Seen seen;
    X11InputHooks hooks(q.poster(), ":97531");
    EXPECT_FALSE(hooks.install(HookMode::KeyCapture, seen.callbacks(false)));
    EXPECT_NE(hooks.lastError().find("x11: cannot connect to the X display :97531"), std::string::npos)
        << hooks.lastError();
    EXPECT_STREQ(hookBackendName(hooks.activeBackend()), "none"); // Xlib defines None
}

TEST(X11InputHooks, RawKeysAndButtonsArriveAsVirtualKeysAndMouseButtons) {
    if (!haveDisplay()) GTEST_SKIP() << "no X server";
    Typist typist;
    ASSERT_NE(typist.display(), nullptr);
    int opcode = 0, event = 0, error = 0;
    ASSERT_TRUE(XTestQueryExtension(typist.display(), &event, &error, &opcode, &opcode));

    QueuedPoster q;
    Seen seen;
    X11InputHooks hooks(q.poster());
    ASSERT_TRUE(hooks.install(HookMode::Recording, seen.callbacks(true))) << hooks.lastError();
    EXPECT_EQ(hooks.activeBackend(), HookBackendKind::X11);
    EXPECT_FALSE(hooks.holdsKeysBack());
    ASSERT_TRUE(startClean(typist, q, seen));

    typist.key(XK_a, true);
    typist.key(XK_a, false);
    typist.key(XK_KP_Enter, true);
    typist.key(XK_KP_Enter, false);
    typist.key(XK_Control_R, true);
    typist.key(XK_Control_R, false);
    typist.button(1, true);
    typist.button(1, false);
    typist.button(4, true); // a wheel step
    typist.button(4, false);
    typist.button(9, true);
    typist.button(9, false);
    // F12 marks the end: what came before it has all been delivered by the time it arrives.
    typist.key(XK_F12, true);
    ASSERT_TRUE(q.runUntil([&] { return !seen.keys.empty() && seen.keys.back().virtualKey == 0x7B; }))
        << seen.keys.size() << " keys, " << seen.mouse.size() << " buttons";
    typist.key(XK_F12, false);
    seen.keys.pop_back();
    // The X server is the whole test run's: keep what this test typed (other keys and the right button
    // belong to tests beside it).
    std::erase_if(seen.keys, [](const KeyHookEvent& k) {
        return k.virtualKey != 0x41 && k.virtualKey != 0x0D && k.virtualKey != 0xA3;
    });
    std::erase_if(seen.mouse, [](const MouseHookEvent& m) {
        return m.button != MouseHookButton::Left && m.button != MouseHookButton::Forward;
    });
    EXPECT_EQ(pairs(seen.keys),
              (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                  {0x41, 0}, {0x41, 0x80}, {0x0D, 0x01}, {0x0D, 0x81}, {0xA3, 0x01}, {0xA3, 0x81}}));
    ASSERT_EQ(seen.mouse.size(), 4u);
    EXPECT_EQ(seen.mouse[0].button, MouseHookButton::Left);
    EXPECT_TRUE(seen.mouse[0].down);
    EXPECT_FALSE(seen.mouse[1].down);
    EXPECT_EQ(seen.mouse[2].button, MouseHookButton::Forward);
    EXPECT_FALSE(seen.mouse[3].down);

    // Removed: the connection is closed, and what was queued before is dropped.
    seen.keys.clear();
    hooks.removeAll();
    typist.key(XK_b, true);
    typist.key(XK_b, false);
    q.drain();
    EXPECT_TRUE(seen.keys.empty());
}

TEST(X11InputHooks, AKeyCaptureListensToKeysAlone) {
    if (!haveDisplay()) GTEST_SKIP() << "no X server";
    Typist typist;
    ASSERT_NE(typist.display(), nullptr);
    QueuedPoster q;
    Seen seen;
    X11InputHooks hooks(q.poster());
    ASSERT_TRUE(hooks.install(HookMode::KeyCapture, seen.callbacks(true))) << hooks.lastError();
    ASSERT_TRUE(startClean(typist, q, seen));
    typist.button(3, true);
    typist.button(3, false);
    typist.key(XK_F5, true);
    typist.key(XK_F5, false);
    ASSERT_TRUE(q.runUntil([&] {
        return std::any_of(seen.keys.begin(), seen.keys.end(),
                           [](const KeyHookEvent& k) { return k.virtualKey == 0x74 && k.up(); });
    }));
    EXPECT_TRUE(seen.mouse.empty());
    EXPECT_TRUE(std::any_of(seen.keys.begin(), seen.keys.end(),
                            [](const KeyHookEvent& k) { return k.virtualKey == 0x74 && !k.up(); }));
}

TEST(X11InputHooks, TheLockToggleSetsTheDesktopsCapsLock) {
    if (!haveDisplay()) GTEST_SKIP() << "no X server";
    Typist observer;
    ASSERT_NE(observer.display(), nullptr);
    const auto capsLocked = [&] {
        XkbStateRec state{};
        XkbGetState(observer.display(), XkbUseCoreKbd, &state);
        return (state.locked_mods & LockMask) != 0;
    };
    const bool before = capsLocked();
    DesktopLockToggle toggle = makeX11LockToggle();
    EXPECT_EQ(toggle(LockKey::Caps), !before);
    EXPECT_EQ(capsLocked(), !before);
    EXPECT_EQ(toggle(LockKey::Caps), before);
    EXPECT_EQ(capsLocked(), before);
    EXPECT_FALSE(makeX11LockToggle(":97531")(LockKey::Caps));
}

} // namespace
