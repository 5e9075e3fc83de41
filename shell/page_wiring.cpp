#include "shell/page_wiring.h"

#include "macros/pages/macro_pages.h"
#include "platform/foreground.h"
#include "platform/host_mouse_settings.h"
#include "platform/input_hook.h"
#include "profiles/pages/application_links.h"
#include "profiles/pages/profile_pages.h"
#include "profiles/pages/profile_watchers.h"
#include "settings/pages/settings_pages.h"
#include "shell/main_window.h"
#include "shell/sync_wiring.h"
#include "ui/ui_thread.h"

namespace zq::shell {

using device::DeviceClass;

PageWiring::PageWiring(MainWindow& window, SyncWiring& sync, ui::ColourPicker& colours,
                       std::unique_ptr<platform::InputHookService> inputHooks,
                       std::unique_ptr<platform::ForegroundApplication> foreground,
                       std::unique_ptr<platform::HostMouseSettings> hostMouse)
    : window_(window), hostMouse_(hostMouse ? std::move(hostMouse) : platform::makeHostMouseSettings()),
      inputHooks_(std::move(inputHooks)),
      foreground_(foreground ? std::move(foreground) : platform::makeForegroundApplication()) {
    context_ =
        std::make_unique<settings::pages::PageContext>(settings::pages::PageContext{window.page(),
                                                                                    window.dispatcher(),
                                                                                    window.state(),
                                                                                    window.messages(),
                                                                                    window.fileDialogs(),
                                                                                    colours,
                                                                                    *hostMouse_,
                                                                                    *inputHooks_,
                                                                                    {},
                                                                                    {},
                                                                                    {}});
    settings::pages::PageContext& ctx = *context_;
    ctx.runOnDevice = [&sync](DeviceClass device, settings::pages::PageContext::Sequence sequence,
                              settings::pages::PageContext::AfterSequence after) {
        sync.run(device, std::move(sequence), std::move(after));
    };
    ctx.runInBackground = [this](std::function<void()> work) {
        hostWorker_.post([work = std::move(work)](device::DeviceWorker::JobContext&) { work(); });
    };
    ctx.saveProfiles = [this](unsigned mask) { profiles_->save(mask); };

    settings_ = std::make_unique<settings::pages::SettingsPages>(ctx);
    profiles_ = std::make_unique<profiles::pages::ProfilePages>(ctx, *settings_);
    macros_ = std::make_unique<macros::pages::MacroPages>(ctx, *settings_);

    // The profile watchers in slots 9 to 13, after the presence and lighting threads; what they select
    // is selected on the UI thread.
    watchers_ = std::make_unique<profiles::pages::ProfileWatchers>(
        window.page(), *foreground_, [&window](std::function<void()> work, platform::Event& stop) {
            return ui::UiThread::invoke(
                [&window, &work] {
                    if (!window.exiting()) work();
                },
                stop);
        });
    links_ = std::make_unique<profiles::pages::ApplicationLinks>(
        ctx, *foreground_, [this](profiles::ProfileCategory c) { watchers_->linksChanged(c); });
    profiles_->operations().linksMoved = [this](profiles::ProfileCategory c) { watchers_->linksChanged(c); };
    int slot = 9;
    for (profiles::ProfileCategory category : profiles::pages::kWatchedCategories)
        window.setThread(slot++, [this, category](platform::Event& stop) { watchers_->run(category, stop); });

    sync.refreshPage = [this](DeviceClass device) { settings_->refresh(device); };
    sync.storeSettings = [this](unsigned storedProfiles) { profiles_->save(storedProfiles); };
    window.hooks.performanceTab = [this] { settings_->mouse.reselectReportRate(); };
    window.hooks.removeRecordingHooks = [this] {
        settings_->buttons.stopCapture();
        settings_->keyboardKeys.stopCapture();
        macros_->stopRecording();
    };
    window.onWindowInit([this] {
        hostWorker_.start();
        profiles_->start();
        macros_->start();
    });
    window.onExit([this](std::chrono::milliseconds left) {
        settings_->buttons.stopCapture();
        settings_->keyboardKeys.stopCapture();
        macros_->stopRecording();
        inputHooks_->removeAll();
        hostWorker_.stop(left);
    });
}

PageWiring::~PageWiring() {
    if (inputHooks_) inputHooks_->removeAll();
    hostWorker_.stop(std::chrono::milliseconds(1000));
}

} // namespace zq::shell
