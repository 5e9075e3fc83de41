#include "shell/page_wiring.h"

#include "macros/pages/macro_pages.h"
#include "platform/host_mouse_settings.h"
#include "platform/input_hook.h"
#include "profiles/pages/profile_pages.h"
#include "settings/pages/settings_pages.h"
#include "shell/main_window.h"
#include "shell/sync_wiring.h"

namespace zq::shell {

using device::DeviceClass;

PageWiring::PageWiring(MainWindow& window, SyncWiring& sync, ui::ColourPicker& colours,
                       std::unique_ptr<platform::InputHookService> inputHooks)
    : window_(window), hostMouse_(platform::makeHostMouseSettings()), inputHooks_(std::move(inputHooks)) {
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
    macros_ = std::make_unique<macros::pages::MacroPages>(ctx);

    sync.refreshPage = [this](DeviceClass device) { settings_->refresh(device); };
    sync.storeSettings = [this](unsigned storedProfiles) { profiles_->save(storedProfiles); };
    window.hooks.performanceTab = [this] { settings_->mouse.reselectReportRate(); };
    window.hooks.removeRecordingHooks = [this] {
        settings_->buttons.stopCapture();
        macros_->stopRecording();
    };
    window.onWindowInit([this] {
        hostWorker_.start();
        profiles_->start();
        macros_->start();
    });
    window.onExit([this](std::chrono::milliseconds left) {
        settings_->buttons.stopCapture();
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
