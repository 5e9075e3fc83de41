#pragma once
// The injected capture backend: tests (and the control channel's automation) push key and mouse-button
// events by hand; they reach the installed callbacks at once, on the caller's thread.
#include "platform/input_hook.h"

namespace zq::platform {

class InjectedInputHooks final : public InputHookService {
public:
    bool install(HookMode mode, HookCallbacks callbacks) override {
        mode_ = mode;
        callbacks_ = std::move(callbacks);
        installed_ = true;
        return true;
    }
    void removeAll() override {
        installed_ = false;
        callbacks_ = {};
    }
    bool installed() const override { return installed_; }
    HookBackendKind activeBackend() const override {
        return installed_ ? HookBackendKind::Injected : HookBackendKind::None;
    }
    bool holdsKeysBack() const override { return false; }
    std::string lastError() const override { return {}; }

    HookMode mode() const { return mode_; }
    // False when nothing is installed (the event goes nowhere, as a real key would).
    bool key(std::uint32_t virtualKey, std::uint32_t flags = 0) {
        if (!installed_ || !callbacks_.key) return false;
        callbacks_.key(KeyHookEvent{virtualKey, flags});
        return true;
    }
    bool mouse(MouseHookButton button, bool down) {
        if (!installed_ || !callbacks_.mouse) return false;
        callbacks_.mouse(MouseHookEvent{button, down});
        return true;
    }

private:
    HookMode mode_ = HookMode::KeyCapture;
    HookCallbacks callbacks_;
    bool installed_ = false;
};

} // namespace zq::platform
