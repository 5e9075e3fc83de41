#include "ui/in_window_capture.h"

#include "platform/input_hook_evdev.h"
#include "platform/input_hook_service.h"
#include "platform/input_hook_x11.h"
#include "ui/ui_thread.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>
#include <QPointer>

#include <array>
#include <cstdlib>
#include <utility>

namespace zq::ui {

namespace {

using platform::VirtualKey;

struct QtKeyRow {
    int key;
    VirtualKey main;   // the key off the keypad
    VirtualKey keypad; // the key with Qt::KeypadModifier; code 0 when the keypad has none
};

constexpr VirtualKey kNone{0, false};

// Used where the platform gives no native codes (the offscreen platform, synthetic events).
constexpr std::array kQtKeys{
    QtKeyRow{Qt::Key_Return, {0x0D, false}, {0x0D, true}},
    QtKeyRow{Qt::Key_Enter, {0x0D, true}, {0x0D, true}},
    QtKeyRow{Qt::Key_Escape, {0x1B, false}, kNone},
    QtKeyRow{Qt::Key_Backspace, {0x08, false}, kNone},
    QtKeyRow{Qt::Key_Tab, {0x09, false}, kNone},
    QtKeyRow{Qt::Key_Backtab, {0x09, false}, kNone},
    QtKeyRow{Qt::Key_Space, {0x20, false}, kNone},
    QtKeyRow{Qt::Key_Minus, {0xBD, false}, {0x6D, false}},
    QtKeyRow{Qt::Key_Equal, {0xBB, false}, kNone},
    QtKeyRow{Qt::Key_BracketLeft, {0xDB, false}, kNone},
    QtKeyRow{Qt::Key_BracketRight, {0xDD, false}, kNone},
    QtKeyRow{Qt::Key_Backslash, {0xDC, false}, kNone},
    QtKeyRow{Qt::Key_Semicolon, {0xBA, false}, kNone},
    QtKeyRow{Qt::Key_Apostrophe, {0xDE, false}, kNone},
    QtKeyRow{Qt::Key_QuoteLeft, {0xC0, false}, kNone},
    QtKeyRow{Qt::Key_Comma, {0xBC, false}, {0x6E, false}},
    QtKeyRow{Qt::Key_Period, {0xBE, false}, {0x6E, false}},
    QtKeyRow{Qt::Key_Slash, {0xBF, false}, {0x6F, true}},
    QtKeyRow{Qt::Key_Asterisk, {0x6A, false}, {0x6A, false}},
    QtKeyRow{Qt::Key_Plus, {0x6B, false}, {0x6B, false}},
    QtKeyRow{Qt::Key_CapsLock, {platform::kVkCapsLock, false}, kNone},
    QtKeyRow{Qt::Key_NumLock, {platform::kVkNumLock, true}, {platform::kVkNumLock, true}},
    QtKeyRow{Qt::Key_ScrollLock, {platform::kVkScrollLock, false}, kNone},
    QtKeyRow{Qt::Key_Print, {0x2C, true}, kNone},
    QtKeyRow{Qt::Key_Pause, {0x13, false}, kNone},
    QtKeyRow{Qt::Key_Insert, {0x2D, true}, {0x60, false}},
    QtKeyRow{Qt::Key_Delete, {0x2E, true}, {0x6E, false}},
    QtKeyRow{Qt::Key_Home, {0x24, true}, {0x67, false}},
    QtKeyRow{Qt::Key_End, {0x23, true}, {0x61, false}},
    QtKeyRow{Qt::Key_PageUp, {0x21, true}, {0x69, false}},
    QtKeyRow{Qt::Key_PageDown, {0x22, true}, {0x63, false}},
    QtKeyRow{Qt::Key_Left, {0x25, true}, {0x64, false}},
    QtKeyRow{Qt::Key_Up, {0x26, true}, {0x68, false}},
    QtKeyRow{Qt::Key_Right, {0x27, true}, {0x66, false}},
    QtKeyRow{Qt::Key_Down, {0x28, true}, {0x62, false}},
    QtKeyRow{Qt::Key_Clear, {0x0C, false}, {0x65, false}},
    QtKeyRow{Qt::Key_Control, {0xA2, false}, kNone},
    QtKeyRow{Qt::Key_Shift, {0xA0, false}, kNone},
    QtKeyRow{Qt::Key_Alt, {0xA4, false}, kNone},
    QtKeyRow{Qt::Key_AltGr, {0xA5, true}, kNone},
    QtKeyRow{Qt::Key_Super_L, {0x5B, true}, kNone},
    QtKeyRow{Qt::Key_Meta, {0x5B, true}, kNone},
    QtKeyRow{Qt::Key_Super_R, {0x5C, true}, kNone},
    QtKeyRow{Qt::Key_Menu, {0x5D, true}, kNone},
    QtKeyRow{Qt::Key_VolumeMute, {0xAD, true}, kNone},
    QtKeyRow{Qt::Key_VolumeDown, {0xAE, true}, kNone},
    QtKeyRow{Qt::Key_VolumeUp, {0xAF, true}, kNone},
    QtKeyRow{Qt::Key_MediaNext, {0xB0, true}, kNone},
    QtKeyRow{Qt::Key_MediaPrevious, {0xB1, true}, kNone},
    QtKeyRow{Qt::Key_MediaStop, {0xB2, true}, kNone},
    QtKeyRow{Qt::Key_MediaPlay, {0xB3, true}, kNone},
    QtKeyRow{Qt::Key_MediaTogglePlayPause, {0xB3, true}, kNone},
    QtKeyRow{Qt::Key_LaunchMail, {0xB4, true}, kNone},
    QtKeyRow{Qt::Key_LaunchMedia, {0xB5, true}, kNone},
    QtKeyRow{Qt::Key_Launch0, {0xB6, true}, kNone},
    QtKeyRow{Qt::Key_Calculator, {0xB7, true}, kNone},
    QtKeyRow{Qt::Key_Back, {0xA6, true}, kNone},
    QtKeyRow{Qt::Key_Forward, {0xA7, true}, kNone},
    QtKeyRow{Qt::Key_Refresh, {0xA8, true}, kNone},
    QtKeyRow{Qt::Key_Stop, {0xA9, true}, kNone},
    QtKeyRow{Qt::Key_Search, {0xAA, true}, kNone},
    QtKeyRow{Qt::Key_Favorites, {0xAB, true}, kNone},
    QtKeyRow{Qt::Key_HomePage, {0xAC, true}, kNone},
    QtKeyRow{Qt::Key_PowerOff, {platform::kVkPower, true}, kNone},
    QtKeyRow{Qt::Key_Sleep, {platform::kVkSleep, true}, kNone},
    QtKeyRow{Qt::Key_WakeUp, {platform::kVkWakeUp, true}, kNone},
};

std::optional<VirtualKey> fromQtKey(int key, bool keypad) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return VirtualKey{static_cast<std::uint16_t>(0x41 + key - Qt::Key_A)};
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const auto digit = static_cast<std::uint16_t>(key - Qt::Key_0);
        return VirtualKey{static_cast<std::uint16_t>((keypad ? 0x60 : 0x30) + digit)};
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VirtualKey{static_cast<std::uint16_t>(0x70 + key - Qt::Key_F1)};
    for (const QtKeyRow& row : kQtKeys) {
        if (row.key != key) continue;
        const VirtualKey vk = keypad && row.keypad.code != 0 ? row.keypad : row.main;
        return vk;
    }
    return std::nullopt;
}

bool isLockKey(std::uint16_t vk) {
    return vk == platform::kVkCapsLock || vk == platform::kVkNumLock || vk == platform::kVkScrollLock;
}

std::optional<platform::MouseHookButton> buttonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return platform::MouseHookButton::Left;
    case Qt::RightButton:
        return platform::MouseHookButton::Right;
    case Qt::MiddleButton:
        return platform::MouseHookButton::Middle;
    case Qt::BackButton:
        return platform::MouseHookButton::Back;
    case Qt::ForwardButton:
        return platform::MouseHookButton::Forward;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<VirtualKey> virtualKeyForQtKey(int qtKey, bool keypad, bool shift, std::uint32_t nativeScanCode,
                                             std::uint32_t nativeVirtualKey) {
    if (!shift)
        if (auto vk = platform::virtualKeyForKeysym(nativeVirtualKey)) return vk;
    if (nativeScanCode >= 8)
        if (auto vk = platform::virtualKeyForLinuxCode(nativeScanCode - 8)) return vk;
    return fromQtKey(qtKey, keypad);
}

// The application's event filter while hooks are installed.
class InWindowCapture::Filter final : public QObject {
public:
    Filter(platform::HookMode mode, platform::HookCallbacks callbacks)
        : callbacks_(std::move(callbacks)),
          mouse_(mode == platform::HookMode::Recording && callbacks_.mouse) {}

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Claiming the key keeps shortcuts from firing: the key press itself comes next.
            event->accept();
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return key(static_cast<QKeyEvent*>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
            if (mouse_ && receiver->isWindowType()) mouse(static_cast<QMouseEvent*>(event));
            return false;
        default:
            return false;
        }
    }

private:
    // A key event travels from the window to the focused widget and up its parents as one object; the
    // application's filter sees it at each step, and it is delivered once.
    bool seenBefore(const QKeyEvent* e) {
        const bool same = e == last_ && e->timestamp() == lastTime_ && e->type() == lastType_;
        last_ = e;
        lastTime_ = e->timestamp();
        lastType_ = e->type();
        return same;
    }

    bool key(QKeyEvent* e) {
        const auto vk = virtualKeyForQtKey(e->key(), e->modifiers().testFlag(Qt::KeypadModifier),
                                           e->modifiers().testFlag(Qt::ShiftModifier), e->nativeScanCode(),
                                           e->nativeVirtualKey());
        const bool lock = vk && isLockKey(vk->code);
        if (seenBefore(e)) return !lock;
        if (vk && callbacks_.key) {
            std::uint32_t flags = vk->extended ? platform::kKeyFlagExtended : 0;
            if (e->type() == QEvent::KeyRelease) flags |= platform::kKeyFlagUp;
            // Copied: the callback may remove the hooks, which deletes this filter.
            auto callback = callbacks_.key;
            callback(platform::KeyHookEvent{vk->code, flags});
        }
        return !lock;
    }

    void mouse(QMouseEvent* e) {
        const auto button = buttonOf(e->button());
        if (!button) return;
        auto callback = callbacks_.mouse;
        callback(platform::MouseHookEvent{*button, e->type() != QEvent::MouseButtonRelease});
    }

    platform::HookCallbacks callbacks_;
    bool mouse_;
    const QEvent* last_ = nullptr;
    quint64 lastTime_ = 0;
    QEvent::Type lastType_ = QEvent::None;
};

InWindowCapture::InWindowCapture() = default;

InWindowCapture::~InWindowCapture() {
    removeAll();
}

bool InWindowCapture::install(platform::HookMode mode, platform::HookCallbacks callbacks) {
    removeAll();
    lastError_.clear();
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        lastError_ = "in-window: no application window";
        return false;
    }
    filter_ = std::make_unique<Filter>(mode, std::move(callbacks));
    app->installEventFilter(filter_.get());
    return true;
}

void InWindowCapture::removeAll() {
    if (!filter_) return;
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(filter_.get());
    // Removal may come from inside the filter's own callback: the object goes once control is back in
    // the event loop.
    filter_.release()->deleteLater();
}

bool InWindowCapture::installed() const {
    return filter_ != nullptr;
}

platform::HookBackendKind InWindowCapture::activeBackend() const {
    return installed() ? platform::HookBackendKind::InWindow : platform::HookBackendKind::None;
}

std::unique_ptr<platform::InputHookService> makeInputCapture() {
    const platform::HookPoster poster = [](std::function<void()> fn) { UiThread::post(std::move(fn)); };
    const bool onX11 = QGuiApplication::platformName() == QLatin1String("xcb");
    std::vector<std::unique_ptr<platform::InputHookService>> backends;
    platform::EvdevOptions evdev;
    // Tests point the device folder elsewhere, so they never take the keyboards of the machine they run on.
    if (const char* folder = std::getenv("ZQ70_INPUT_DIR"); folder && *folder) evdev.folder = folder;
    if (onX11) evdev.desktopLock = platform::makeX11LockToggle();
    backends.push_back(std::make_unique<platform::EvdevInputHooks>(poster, std::move(evdev)));
    if (onX11)
        backends.push_back(std::make_unique<platform::X11InputHooks>(poster));
    else
        backends.push_back(std::make_unique<platform::UnavailableInputHooks>(
            "x11: the window is not on an X11 display (" + QGuiApplication::platformName().toStdString() +
            ")"));
    backends.push_back(std::make_unique<InWindowCapture>());
    return std::make_unique<platform::InputHookChain>(std::move(backends));
}

} // namespace zq::ui
