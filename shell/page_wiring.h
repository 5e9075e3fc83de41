#pragma once
// The page modules in the running program: the settings pages, the profile lists and the macro pages,
// built with one context that reaches the window, the state, the dialogs, the device worker, a host
// worker for desktop settings, and the input capture.
#include "device/device_worker.h"
#include "platform/foreground.h"
#include "platform/host_mouse_settings.h"
#include "settings/pages/page_context.h"

#include <memory>

namespace zq::platform {
class InputHookService;
}

namespace zq::ui {
class ColourPicker;
}

namespace zq::settings::pages {
class SettingsPages;
}
namespace zq::profiles::pages {
class ApplicationLinks;
class ProfilePages;
class ProfileWatchers;
} // namespace zq::profiles::pages
namespace zq::macros::pages {
class MacroPages;
}

namespace zq::shell {

class MainWindow;
class SyncWiring;

class PageWiring {
public:
    // Without a foreground backend, the session's own is used (X11, or none); without host mouse
    // settings, the desktop's.
    PageWiring(MainWindow& window, SyncWiring& sync, ui::ColourPicker& colours,
               std::unique_ptr<platform::InputHookService> inputHooks,
               std::unique_ptr<platform::ForegroundApplication> foreground = nullptr,
               std::unique_ptr<platform::HostMouseSettings> hostMouse = nullptr);
    ~PageWiring();

    settings::pages::SettingsPages& settings() { return *settings_; }
    profiles::pages::ProfilePages& profiles() { return *profiles_; }
    macros::pages::MacroPages& macros() { return *macros_; }
    platform::InputHookService& inputHooks() { return *inputHooks_; }
    profiles::pages::ApplicationLinks& links() { return *links_; }
    profiles::pages::ProfileWatchers& watchers() { return *watchers_; }

private:
    MainWindow& window_;
    std::unique_ptr<platform::HostMouseSettings> hostMouse_;
    std::unique_ptr<platform::InputHookService> inputHooks_;
    device::DeviceWorker hostWorker_;
    std::unique_ptr<settings::pages::PageContext> context_;
    std::unique_ptr<settings::pages::SettingsPages> settings_;
    std::unique_ptr<profiles::pages::ProfilePages> profiles_;
    std::unique_ptr<macros::pages::MacroPages> macros_;
    std::unique_ptr<platform::ForegroundApplication> foreground_;
    std::unique_ptr<profiles::pages::ProfileWatchers> watchers_;
    std::unique_ptr<profiles::pages::ApplicationLinks> links_;
};

} // namespace zq::shell
