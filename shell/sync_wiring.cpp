#include "shell/sync_wiring.h"

#include "platform/host_mouse_settings.h"
#include "settings/pages/page_context.h"
#include "shell/main_window.h"
#include "ui/message_presenter.h"

#include <memory>

namespace zq::shell {

using device::DeviceClass;

namespace {
// The host settings a mouse restore puts back: the slider's step 5 is the desktop's speed 10.
constexpr int kDefaultPointerStep = 5;
constexpr int kDefaultPointerSpeed = 10;
constexpr int kDefaultWheelLines = 3;
} // namespace

SyncWiring::SyncWiring(MainWindow& window) : window_(window) {
    device::AppState& state = window_.state();
    window_.onWindowInit([this] { worker_.start(); });
    window_.onExit([this](std::chrono::milliseconds left) { worker_.stop(left); });

    using settings::pages::StoredProfile;
    // What each read-back stores in the profile files once its record is taken: the pad's settings, all
    // of the keyboard's after a full read-back, its lighting after a slot refresh. The mouse page stores
    // the mouse's files itself when it refreshes.
    constexpr unsigned kPadFiles = static_cast<unsigned>(StoredProfile::PadLighting);
    constexpr unsigned kKeyboardFiles =
        StoredProfile::KeyboardDevice | StoredProfile::KeyboardLighting | StoredProfile::KeyboardKeys;
    constexpr unsigned kKeyboardLightingFiles = static_cast<unsigned>(StoredProfile::KeyboardLighting);
    auto on = [this](AppMessage message, DeviceClass device, auto sequence, unsigned store) {
        window_.setMessageHandler(message, [this, device, sequence, store](std::intptr_t, std::intptr_t) {
            run(device, sequence, {}, store);
        });
    };
    on(AppMessage::MouseFullReadBack, DeviceClass::Mouse, device::mouseFullReadBack, 0);
    on(AppMessage::MouseSlotRefresh, DeviceClass::Mouse, device::mouseSlotRefresh, 0);
    on(AppMessage::PadFullReadBack, DeviceClass::Pad, device::padFullReadBack, kPadFiles);
    on(AppMessage::KeyboardFullReadBack, DeviceClass::Keyboard, device::keyboardFullReadBack, kKeyboardFiles);
    on(AppMessage::KeyboardSlotRefresh, DeviceClass::Keyboard, device::keyboardSlotRefresh,
       kKeyboardLightingFiles);
    window_.hooks.keyboardReadBack = [this] {
        run(DeviceClass::Keyboard, device::keyboardFullReadBack, {}, kKeyboardFiles);
    };
    window_.hooks.padReadBack = [this] { run(DeviceClass::Pad, device::padFullReadBack, {}, kPadFiles); };
    // Onboard slot switches: the mouse's slot buttons, the pad's slot list.
    window_.dispatcher().onFamily(
        ui::notify::kClick, "ms_profile_",
        [this](const ui::Notification&, int slot) { switchSlot(DeviceClass::Mouse, slot); });
    window_.dispatcher().on(
        ui::notify::kItemSelect, "mp_deng_combo_profile",
        [this](const ui::Notification& n) { switchSlot(DeviceClass::Pad, static_cast<int>(n.wParam)); });
    // Restore defaults: the mouse first puts the host's pointer settings back (they ride in its profile).
    window_.dispatcher().on(ui::notify::kClick, "ms_one_profile_default", [this](const ui::Notification&) {
        window_.page().slider("ms_point_speed_slider").setValue(kDefaultPointerStep);
        window_.page().edit("ms_gunlun_speed_edit").setText(std::to_string(kDefaultWheelLines));
        if (!hostMouse_) hostMouse_ = platform::makeHostMouseSettings();
        hostMouse_->setPointerSpeed(kDefaultPointerSpeed);
        hostMouse_->setWheelScrollLines(kDefaultWheelLines);
        run(DeviceClass::Mouse, [](device::DeviceLink& link, device::DeviceState& s, platform::Event& stop) {
            return device::restoreDefaults(DeviceClass::Mouse, link, s, stop);
        });
    });
    // The pad: its reset, and a second later its full read-back (on the worker: the window does not wait).
    window_.dispatcher().on(ui::notify::kClick, "mp_one_profile_default", [this](const ui::Notification&) {
        run(
            DeviceClass::Pad,
            [](device::DeviceLink& link, device::DeviceState& s, platform::Event& stop) {
                return device::restoreDefaults(DeviceClass::Pad, link, s, stop);
            },
            {}, kPadFiles);
    });
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

void SyncWiring::switchSlot(DeviceClass device, int slot) {
    run(
        device,
        [device, slot](device::DeviceLink& link, device::DeviceState& s, platform::Event& stop) {
            return device::slotSwitch(device, link, s, slot, stop);
        },
        [this, device](const device::SyncResult& result) {
            // The mouse shows its new slot's buttons without a function editor open.
            if (result.status == device::SyncStatus::Done && device == DeviceClass::Mouse)
                window_.page().findLoaded("ms_tab_function").setVisible(false);
        });
}

void SyncWiring::run(DeviceClass device, Sequence sequence,
                     std::function<void(const device::SyncResult&)> after, unsigned storeAfter) {
    device::AppState& state = window_.state();
    auto copy = std::make_shared<device::DeviceState>(state.state(device));
    worker_.post(
        [this, device, copy, sequence, after, storeAfter, &state](device::DeviceWorker::JobContext& job) {
            const device::SyncResult result = sequence(state.link(device), *copy, job.stop());
            window_.postTask([this, device, copy, result, after, storeAfter] {
                if (after) after(result);
                apply(device, *copy, result, storeAfter);
            });
        });
}

void SyncWiring::apply(DeviceClass device, const device::DeviceState& copy, const device::SyncResult& result,
                       unsigned storeAfter) {
    device::takeParts(window_.state().state(device), copy, result.changed);
    if (storeAfter != 0 && result.changed.current && storeSettings) storeSettings(storeAfter);
    if (result.message) window_.messages().showMessage(result.message);
    if (result.selectSlot && device == DeviceClass::Mouse) {
        ui::ListLike combo = window_.page().combo("ms_device_profile_combo");
        if (*result.selectSlot < combo.count()) combo.select(*result.selectSlot, ui::Notify::Yes);
    }
    if (result.changed.current && lightingChanged) lightingChanged(device);
    if (refreshPage) refreshPage(device);
}

} // namespace zq::shell
