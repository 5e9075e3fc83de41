#include "lighting/lighting_engine.h"

namespace zq::lighting {

LightingEngine::LightingEngine(device::DeviceLink& mouseLink, device::DeviceLink& padLink,
                               device::DeviceLink& keyboardLink, platform::Clock& clock,
                               LightPreview* preview)
    : ctx_(mouseLink, padLink, keyboardLink, clock, preview) {}

LightingEngine::~LightingEngine() {
    stop();
}

void LightingEngine::start() {
    for (auto t : {LightThread::Keyboard, LightThread::Mouse, LightThread::Pad, LightThread::Shared})
        start(t);
}

void LightingEngine::start(LightThread which) {
    auto& slot = workers_[static_cast<std::size_t>(which)];
    if (slot && slot->thread.joinable()) return;
    slot = std::make_unique<Worker>();
    Worker* w = slot.get();
    w->thread = std::jthread([this, which, w] {
        switch (which) {
        case LightThread::Mouse:
            runMouseLighting(ctx_, w->stop);
            break;
        case LightThread::Pad:
            runPadLighting(ctx_, w->stop);
            break;
        case LightThread::Keyboard:
            runKeyboardLighting(ctx_, w->stop);
            break;
        case LightThread::Shared:
            runSharedLighting(ctx_, w->stop);
            break;
        }
        w->ended.set();
    });
}

bool LightingEngine::stop(std::chrono::milliseconds limit) {
    for (auto& w : workers_)
        if (w) w->stop.set();
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool all = true;
    for (auto& w : workers_) {
        if (!w || !w->thread.joinable()) continue;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (!w->ended.wait(std::max(left, std::chrono::milliseconds(0)))) all = false;
    }
    for (auto& w : workers_)
        if (w && w->thread.joinable()) w->thread.join();
    return all;
}

bool LightingEngine::running(LightThread which) const {
    const auto& w = workers_[static_cast<std::size_t>(which)];
    return w && w->thread.joinable() && !w->ended.isSet();
}

} // namespace zq::lighting
