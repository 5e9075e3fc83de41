#include "shell/sync_wiring.h"

#include "shell/main_window.h"
#include "ui/message_presenter.h"

#include <memory>

namespace zq::shell {

using device::DeviceClass;

SyncWiring::SyncWiring(MainWindow& window) : window_(window) {
    device::AppState& state = window_.state();
    window_.onWindowInit([this] { worker_.start(); });
    window_.onExit([this](std::chrono::milliseconds left) { worker_.stop(left); });

    auto on = [this](AppMessage message, DeviceClass device, auto sequence) {
        window_.setMessageHandler(
            message, [this, device, sequence](std::intptr_t, std::intptr_t) { run(device, sequence); });
    };
    on(AppMessage::MouseFullReadBack, DeviceClass::Mouse, device::mouseFullReadBack);
    on(AppMessage::MouseSlotRefresh, DeviceClass::Mouse, device::mouseSlotRefresh);
    on(AppMessage::PadFullReadBack, DeviceClass::Pad, device::padFullReadBack);
    on(AppMessage::KeyboardFullReadBack, DeviceClass::Keyboard, device::keyboardFullReadBack);
    on(AppMessage::KeyboardSlotRefresh, DeviceClass::Keyboard, device::keyboardSlotRefresh);
    window_.hooks.keyboardReadBack = [this] { run(DeviceClass::Keyboard, device::keyboardFullReadBack); };
    window_.hooks.padReadBack = [this] { run(DeviceClass::Pad, device::padFullReadBack); };
    // The push: the flags are taken on the UI thread, the frames go out from the worker.
    window_.hooks.settingsPush = [this, &state] {
        auto plan = std::make_shared<device::PushPlan>(device::takeSettingsPush(state));
        if (plan->count == 0) return;
        worker_.post(
            [plan, &state](device::DeviceWorker::JobContext&) { device::sendSettingsPush(state, *plan); });
    };
}

SyncWiring::~SyncWiring() {
    worker_.stop(std::chrono::milliseconds(1000));
}

void SyncWiring::run(DeviceClass device, Sequence sequence) {
    device::AppState& state = window_.state();
    auto copy = std::make_shared<device::DeviceState>(state.state(device));
    worker_.post([this, device, copy, sequence, &state](device::DeviceWorker::JobContext& job) {
        const device::SyncResult result = sequence(state.link(device), *copy, job.stop());
        window_.postTask([this, device, copy, result] { apply(device, *copy, result); });
    });
}

void SyncWiring::apply(DeviceClass device, const device::DeviceState& copy,
                       const device::SyncResult& result) {
    device::takeParts(window_.state().state(device), copy, result.changed);
    if (result.message) window_.messages().showMessage(result.message);
    if (result.selectSlot && device == DeviceClass::Mouse) {
        ui::ListLike combo = window_.page().combo("ms_device_profile_combo");
        if (*result.selectSlot < combo.count()) combo.select(*result.selectSlot, ui::Notify::Yes);
    }
    if (result.changed.current && lightingChanged) lightingChanged(device);
    if (refreshPage) refreshPage(device);
}

} // namespace zq::shell
