#pragma once
// The page modules in the running program: the settings pages, the profile lists and the macro pages,
// built with one context that reaches the window, the state, the dialogs, the device worker, a host
// worker for desktop settings, and the input capture.
#include "device/device_worker.h"
#include "settings/pages/page_context.h"

#include <memory>

namespace zq::platform {
class HostMouseSettings;
class InputHookService;
} // namespace zq::platform

namespace zq::ui {
class ColourPicker;
}

namespace zq::settings::pages {
class SettingsPages;
}
namespace zq::profiles::pages {
class ProfilePages;
}
namespace zq::macros::pages {
class MacroPages;
}

namespace zq::shell {

class MainWindow;
class SyncWiring;

class PageWiring {
public:
    PageWiring(MainWindow& window, SyncWiring& sync, ui::ColourPicker& colours,
               std::unique_ptr<platform::InputHookService> inputHooks);
    ~PageWiring();

    settings::pages::SettingsPages& settings() { return *settings_; }
    profiles::pages::ProfilePages& profiles() { return *profiles_; }
    macros::pages::MacroPages& macros() { return *macros_; }
    platform::InputHookService& inputHooks() { return *inputHooks_; }

private:
    MainWindow& window_;
    std::unique_ptr<platform::HostMouseSettings> hostMouse_;
    std::unique_ptr<platform::InputHookService> inputHooks_;
    device::DeviceWorker hostWorker_;
    std::unique_ptr<settings::pages::PageContext> context_;
    std::unique_ptr<settings::pages::SettingsPages> settings_;
    std::unique_ptr<profiles::pages::ProfilePages> profiles_;
    std::unique_ptr<macros::pages::MacroPages> macros_;
};

} // namespace zq::shell
