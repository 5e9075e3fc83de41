#pragma once
// What the shell hands every page module at start: the window's page and dispatcher, the application
// state, the dialogs, and the services that reach past the page folders (device work off the UI thread,
// host settings work off the UI thread, the profile files). References and callbacks only; no Qt type.
#include "device/app_state.h"
#include "device/sync.h"
#include "platform/event.h"

#include <functional>

namespace zq::ui {
class ColourPicker;
class Dispatcher;
class FileDialogs;
class MessagePresenter;
class Page;
} // namespace zq::ui

namespace zq::platform {
class HostMouseSettings;
class InputHookService;
} // namespace zq::platform

namespace zq::settings::pages {

// The profile files a change is stored in: one bit per profile category, in the profile categories'
// order. The profile pages own the lists and know which file is selected; the settings pages only say
// which kinds of file their change touches.
enum class StoredProfile : unsigned {
    MouseDevice = 1u << 0,
    MouseLighting = 1u << 1,
    MouseKeys = 1u << 2,
    KeyboardDevice = 1u << 3,
    KeyboardLighting = 1u << 4,
    KeyboardKeys = 1u << 5,
    PadLighting = 1u << 6,
};
constexpr unsigned operator|(StoredProfile a, StoredProfile b) {
    return static_cast<unsigned>(a) | static_cast<unsigned>(b);
}
constexpr unsigned operator|(unsigned a, StoredProfile b) {
    return a | static_cast<unsigned>(b);
}

struct PageContext {
    ui::Page& page;
    ui::Dispatcher& dispatcher;
    device::AppState& state;
    ui::MessagePresenter& messages;
    ui::FileDialogs& fileDialogs;
    ui::ColourPicker& colours;
    platform::HostMouseSettings& hostMouse;
    platform::InputHookService& inputHooks;

    // Runs a device sequence on the device worker, off the UI thread, on a copy of the device's state.
    // On the UI thread afterwards: `after` (may be empty) with the result, then the parts the result
    // names are taken back into the live state and the device's page is refreshed.
    using Sequence =
        std::function<device::SyncResult(device::DeviceLink&, device::DeviceState&, platform::Event&)>;
    using AfterSequence = std::function<void(const device::SyncResult&)>;
    std::function<void(device::DeviceClass, Sequence, AfterSequence)> runOnDevice;

    // Runs slow host work (the desktop's pointer speed and wheel lines) off the UI thread, in order.
    std::function<void(std::function<void()>)> runInBackground;

    // Stores the devices' live settings in the selected profiles' files: a mask of StoredProfile bits.
    std::function<void(unsigned)> saveProfiles;

    void save(unsigned mask) const {
        if (saveProfiles) saveProfiles(mask);
    }
    void save(StoredProfile one) const { save(static_cast<unsigned>(one)); }
};

} // namespace zq::settings::pages
