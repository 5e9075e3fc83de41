#include "platform/input_hook_service.h"

namespace zq::platform {

InputHookChain::InputHookChain(std::vector<std::unique_ptr<InputHookService>> backends)
    : backends_(std::move(backends)) {}

InputHookChain::~InputHookChain() {
    removeAll();
}

bool InputHookChain::install(HookMode mode, HookCallbacks callbacks) {
    removeAll();
    lastError_.clear();
    for (const auto& backend : backends_) {
        if (!backend) continue;
        if (backend->install(mode, callbacks)) {
            active_ = backend.get();
            return true;
        }
        std::string why = backend->lastError();
        if (why.empty()) why = "a capture backend did not start";
        lastError_ += (lastError_.empty() ? "" : "; ") + why;
    }
    if (lastError_.empty()) lastError_ = "no capture backend";
    return false;
}

void InputHookChain::removeAll() {
    if (active_) active_->removeAll();
    active_ = nullptr;
}

HookBackendKind InputHookChain::activeBackend() const {
    return active_ ? active_->activeBackend() : HookBackendKind::None;
}

} // namespace zq::platform
