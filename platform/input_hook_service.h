#pragma once
// The capture the program runs: its backends in order of preference (evdev, X11, in-window). install()
// tries them in turn and the first that starts serves until removeAll(); the reasons the ones before it
// gave are kept in lastError(), so the page can say why the capture is not the best one.
#include "platform/input_hook.h"

#include <memory>
#include <vector>

namespace zq::platform {

class InputHookChain final : public InputHookService {
public:
    explicit InputHookChain(std::vector<std::unique_ptr<InputHookService>> backends);
    ~InputHookChain() override;

    bool install(HookMode mode, HookCallbacks callbacks) override;
    void removeAll() override;
    bool installed() const override { return active_ != nullptr; }
    HookBackendKind activeBackend() const override;
    bool holdsKeysBack() const override { return active_ && active_->holdsKeysBack(); }
    // "; "-joined reasons of the backends that failed at the last install (empty when the first served).
    std::string lastError() const override { return lastError_; }

private:
    std::vector<std::unique_ptr<InputHookService>> backends_;
    InputHookService* active_ = nullptr;
    std::string lastError_;
};

} // namespace zq::platform

namespace zq::platform {

// A backend that cannot run here, with the reason (e.g. X11 capture for a window not on X11): it keeps
// its place in the chain so the reason is told with the others.
class UnavailableInputHooks final : public InputHookService {
public:
    explicit UnavailableInputHooks(std::string reason) : reason_(std::move(reason)) {}
    bool install(HookMode, HookCallbacks) override { return false; }
    void removeAll() override {}
    bool installed() const override { return false; }
    HookBackendKind activeBackend() const override { return HookBackendKind::None; }
    bool holdsKeysBack() const override { return false; }
    std::string lastError() const override { return reason_; }

private:
    std::string reason_;
};

} // namespace zq::platform
