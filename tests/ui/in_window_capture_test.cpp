// The in-window capture on an offscreen window: keys pressed in our window reach the callbacks once and
// go no further (lock keys excepted), mouse buttons are seen and passed on, and the program's chain
// falls back to it where no global capture can start.
#include "ui/in_window_capture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <linux/input-event-codes.h>

#include <cstdlib>
#include <vector>

namespace zq::ui {
namespace {

using platform::HookMode;
using platform::KeyHookEvent;
using platform::MouseHookButton;
using platform::MouseHookEvent;
using platform::VirtualKey;

TEST(InWindowCapture, QtKeysBecomeVirtualKeys) {
    const struct {
        int key;
        bool keypad, shift;
        std::uint32_t scanCode, keysym;
        std::optional<VirtualKey> expected;
    } cases[] = {
        // Native codes first: the keysym, or the key's position where the keysym is a shifted symbol.
        {Qt::Key_A, false, false, KEY_A + 8, XK_a, VirtualKey{0x41, false}},
        {Qt::Key_Less, false, true, KEY_COMMA + 8, XK_less, VirtualKey{0xBC, false}},
        {Qt::Key_Exclam, false, true, KEY_1 + 8, XK_exclam, VirtualKey{0x31, false}},
        {Qt::Key_Enter, true, false, KEY_KPENTER + 8, XK_KP_Enter, VirtualKey{0x0D, true}},
        // No native codes (offscreen, synthetic events): the Qt key and the keypad modifier.
        {Qt::Key_Q, false, false, 0, 0, VirtualKey{0x51, false}},
        {Qt::Key_Return, false, false, 0, 0, VirtualKey{0x0D, false}},
        {Qt::Key_Enter, true, false, 0, 0, VirtualKey{0x0D, true}},
        {Qt::Key_1, true, false, 0, 0, VirtualKey{0x61, false}},
        {Qt::Key_1, false, false, 0, 0, VirtualKey{0x31, false}},
        {Qt::Key_Slash, true, false, 0, 0, VirtualKey{0x6F, true}},
        {Qt::Key_Home, false, false, 0, 0, VirtualKey{0x24, true}},
        {Qt::Key_Home, true, false, 0, 0, VirtualKey{0x67, false}},
        {Qt::Key_F24, false, false, 0, 0, VirtualKey{0x87, false}},
        {Qt::Key_CapsLock, false, false, 0, 0, VirtualKey{0x14, false}},
        {Qt::Key_Help, false, false, 0, 0, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(virtualKeyForQtKey(c.key, c.keypad, c.shift, c.scanCode, c.keysym), c.expected)
            << "Qt key 0x" << std::hex << c.key;
}

// A focused widget that counts what reaches it.
class Target : public QWidget {
public:
    Target() { setFocusPolicy(Qt::StrongFocus); }
    int keys = 0;
    int clicks = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keys; }
    void mousePressEvent(QMouseEvent*) override { ++clicks; }
};

class InWindowCaptureOnAWindow : public ::testing::Test {
protected:
    void SetUp() override {
        target.resize(100, 100);
        target.show();
        target.activateWindow();
        target.setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
    }
    QWindow* window() { return target.windowHandle(); }
    platform::HookCallbacks callbacks(bool withMouse) {
        platform::HookCallbacks c;
        c.key = [this](const KeyHookEvent& k) { keys.push_back(k); };
        if (withMouse) c.mouse = [this](const MouseHookEvent& m) { mouse.push_back(m); };
        return c;
    }
    Target target;
    std::vector<KeyHookEvent> keys;
    std::vector<MouseHookEvent> mouse;
};

TEST_F(InWindowCaptureOnAWindow, KeysAreCapturedOnceAndHeldBackExceptLockKeys) {
    InWindowCapture capture;
    ASSERT_TRUE(capture.install(HookMode::KeyCapture, callbacks(false)));
    EXPECT_EQ(capture.activeBackend(), platform::HookBackendKind::InWindow);
    QTest::keyClick(window(), Qt::Key_A);
    QTest::keyClick(window(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(keys, (std::vector<KeyHookEvent>{{0x41, 0}, {0x41, 0x80}, {0x0D, 0x01}, {0x0D, 0x81}}));
    EXPECT_EQ(target.keys, 0) << "captured keys do not also reach the focused control";

    QTest::keyClick(window(), Qt::Key_CapsLock);
    EXPECT_EQ(keys.size(), 6u);
    EXPECT_EQ(keys[4], (KeyHookEvent{0x14, 0}));
    EXPECT_EQ(target.keys, 1) << "a lock key goes on";

    capture.removeAll();
    EXPECT_FALSE(capture.installed());
    QTest::keyClick(window(), Qt::Key_B);
    EXPECT_EQ(keys.size(), 6u);
    EXPECT_EQ(target.keys, 2);
}

TEST_F(InWindowCaptureOnAWindow, RecordingSeesMouseButtonsAndPassesThemOn) {
    InWindowCapture capture;
    ASSERT_TRUE(capture.install(HookMode::Recording, callbacks(true)));
    QTest::mouseClick(window(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(window(), Qt::BackButton, {}, QPoint(10, 10));
    EXPECT_EQ(mouse, (std::vector<MouseHookEvent>{{MouseHookButton::Left, true},
                                                  {MouseHookButton::Left, false},
                                                  {MouseHookButton::Back, true},
                                                  {MouseHookButton::Back, false}}));
    EXPECT_EQ(target.clicks, 2);
    // A key capture does not listen to the mouse.
    ASSERT_TRUE(capture.install(HookMode::KeyCapture, callbacks(true)));
    QTest::mouseClick(window(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(mouse.size(), 4u);
}

TEST_F(InWindowCaptureOnAWindow, ACallbackMayRemoveTheCapture) {
    InWindowCapture capture;
    platform::HookCallbacks once;
    once.key = [&](const KeyHookEvent& k) {
        keys.push_back(k);
        capture.removeAll();
    };
    ASSERT_TRUE(capture.install(HookMode::KeyCapture, once));
    QTest::keyClick(window(), Qt::Key_A);
    QCoreApplication::processEvents(); // the filter object is deleted here
    EXPECT_EQ(keys.size(), 1u);
    EXPECT_EQ(target.keys, 0);
}

TEST_F(InWindowCaptureOnAWindow, TheProgramsChainFallsBackToItAndSaysWhy) {
    setenv("ZQ70_INPUT_DIR", "/nonexistent/input", 1);
    auto capture = makeInputCapture();
    unsetenv("ZQ70_INPUT_DIR");
    ASSERT_TRUE(capture->install(HookMode::KeyCapture, callbacks(false)));
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        EXPECT_EQ(capture->activeBackend(), platform::HookBackendKind::X11) << "a window on X11 gets X11's";
        return;
    }
    EXPECT_EQ(capture->activeBackend(), platform::HookBackendKind::InWindow);
    EXPECT_FALSE(capture->holdsKeysBack());
    EXPECT_EQ(capture->lastError(), "evdev: /nonexistent/input does not exist; x11: the window is not on an "
                                    "X11 display (" +
                                        QGuiApplication::platformName().toStdString() + ")");
    QTest::keyClick(window(), Qt::Key_Z);
    EXPECT_EQ(keys.size(), 2u);
    capture->removeAll();
}

} // namespace
} // namespace zq::ui
