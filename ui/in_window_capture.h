#pragma once
// The capture of last resort: keys pressed while one of our own windows has the focus, taken by an
// event filter on the application. Keys are consumed (the focused control does not also act on them,
// and no shortcut fires) except the lock keys, which go on to the desktop; mouse buttons are seen and
// passed on. Nothing is seen while another application has the focus.
//
// Also here: the program's capture chain, which prefers the global captures and falls back to this one.
#include "platform/input_hook.h"
#include "platform/key_code_map.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace zq::ui {

// A Qt key event as a virtual key: by its X keysym (nativeVirtualKey) where the table knows it, unless
// Shift is held (the keysym is then the shifted symbol's); else by its key code (nativeScanCode, the X
// server's: the Linux code + 8); else by the Qt key, the keypad modifier telling the keypad's keys.
std::optional<platform::VirtualKey> virtualKeyForQtKey(int qtKey, bool keypad, bool shift,
                                                       std::uint32_t nativeScanCode,
                                                       std::uint32_t nativeVirtualKey);

class InWindowCapture final : public platform::InputHookService {
public:
    InWindowCapture();
    ~InWindowCapture() override;
    InWindowCapture(const InWindowCapture&) = delete;
    InWindowCapture& operator=(const InWindowCapture&) = delete;

    bool install(platform::HookMode mode, platform::HookCallbacks callbacks) override;
    void removeAll() override;
    bool installed() const override;
    platform::HookBackendKind activeBackend() const override;
    bool holdsKeysBack() const override { return false; } // other applications never lose a key
    std::string lastError() const override { return lastError_; }

private:
    class Filter;
    std::unique_ptr<Filter> filter_;
    std::string lastError_;
};

// evdev, then X11 (when the windows are on an X11 display), then in-window. Events reach the callbacks
// on the UI thread. ZQ70_INPUT_DIR replaces /dev/input (tests).
std::unique_ptr<platform::InputHookService> makeInputCapture();

} // namespace zq::ui
