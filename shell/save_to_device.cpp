#include "shell/save_to_device.h"

#include "device/commands.h"
#include "macros/block_plan.h"
#include "macros/macro_block.h"
#include "platform/data_folders.h"
#include "settings/pages/page_context.h"
#include "shell/main_window.h"
#include "shell/sync_wiring.h"
#include "ui/message_presenter.h"
#include "ui/skin.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace zq::shell {

namespace {

using device::DeviceClass;

constexpr std::size_t kMacroMemoryByte = 6; // device information: macro memory in 128-byte units
constexpr int kProgressSteps = 100;

constexpr std::size_t framesFor(std::size_t bytes) {
    return (bytes + device::kPayloadSize - 1) / device::kPayloadSize;
}

// What one transfer takes to the worker and brings back.
struct Transfer {
    DeviceClass device;
    std::array<std::uint8_t, device::kDeviceInfoSize> info{};
    bool infoRead = false;
    std::array<std::uint8_t, device::kKeyPageBytes> keyPage{};
    unsigned keyPageNumber = 0;
    std::size_t keyPageBytes = device::kKeyPageBytes;
    // A message for the user, by text id or as a ready text.
    std::string messageId;
    std::string messageText;
    // The key block went out: the transfer reached its end.
    bool completed = false;
};

} // namespace

SaveToDevice::SaveToDevice(MainWindow& window, SyncWiring& sync) : window_(window), sync_(sync) {
    window_.dispatcher().on(ui::notify::kClick, "ms_key_butt_prosave",
                            [this](const ui::Notification&) { start(DeviceClass::Mouse); });
    window_.dispatcher().on(ui::notify::kClick, "kb_key_butt_prosave",
                            [this](const ui::Notification&) { start(DeviceClass::Keyboard); });
}

void SaveToDevice::whenDone(std::function<void()> done) {
    if (!running_) {
        done();
        return;
    }
    whenDone_.push_back(std::move(done));
}

void SaveToDevice::enableButtons(bool enabled) {
    for (const char* button : {"ms_key_butt_prosave", "kb_key_butt_prosave"})
        window_.page().findLoaded(button).setEnabled(enabled);
}

void SaveToDevice::progress(int done, int total) {
    ui::Slider ring = window_.page().slider("setting_progress_ring");
    ring.setRange(0, kProgressSteps);
    ring.setValue(total > 0 ? done * kProgressSteps / total : kProgressSteps);
}

void SaveToDevice::start(DeviceClass device) {
    if (running_) return;
    running_ = true;
    outcome_ = {};
    enableButtons(false);
    window_.handle(AppMessage::ShowProgress, 0, 0);
    progress(0, 1);

    device::AppState& state = window_.state();
    auto transfer = std::make_shared<Transfer>();
    transfer->device = device;
    transfer->info = state.state(device).info;
    if (device == DeviceClass::Mouse) {
        // Every other writer of the mouse key block writes the cached page 0 as it is.
        transfer->keyPage = state.mouse.keyPages[0];
    } else {
        // The keyboard's current slot's page, 3 bytes a key.
        const unsigned slot = state.keyboard.slot();
        transfer->keyPageNumber = slot < device::kKeyPages ? slot : 0;
        transfer->keyPage = state.keyboard.keyPages[transfer->keyPageNumber];
    }
    const std::string tooLarge = window_.skin().text("message_text_16");

    sync_.worker().post([this, transfer, tooLarge, &state](device::DeviceWorker::JobContext& job) {
        device::DeviceLink& link = state.link(transfer->device);
        auto report = [this](int done, int total) {
            window_.postTask([this, done, total] { progress(done, total); });
        };
        // Progress counts frames: the cursor paths, the macro block and the key block, up to 583 of them.
        std::size_t framesDone = 0;
        std::size_t framesTotal = 1;
        std::size_t lastShown = static_cast<std::size_t>(-1);
        auto frameDone = [&](std::size_t frames) {
            framesDone += frames;
            const std::size_t shown = framesDone * kProgressSteps / std::max<std::size_t>(framesTotal, 1);
            if (shown != lastShown) {
                lastShown = shown;
                report(static_cast<int>(std::min(framesDone, framesTotal)), static_cast<int>(framesTotal));
            }
        };
        // After each frame of a long block: on while the device is there and the program is not leaving.
        auto chunkProgress = [&](std::size_t bytesDone, std::size_t) {
            (void)bytesDone;
            frameDone(1);
            return link.open.load() && !job.stopping();
        };
        // The capacity comes from the device information; a mouse whose information was never read
        // (it is read only on a device report) is asked now, rather than refusing every macro.
        if (transfer->info[kMacroMemoryByte] == 0 && device::ReadDeviceInfo(link, transfer->info) == 1)
            transfer->infoRead = true;
        // The key block is as long as the link's block length: the device's key count once a read-back
        // has set it, so a page of fewer keys than the host's table is sent whole.
        transfer->keyPageBytes = std::min<std::size_t>(link.blockLength.load(), device::kKeyPageBytes);

        std::optional<macros::BlockPlan> paths;
        if (transfer->device == DeviceClass::Mouse)
            paths = macros::planCursorPathTransfer(platform::categoryFolder(platform::DeviceFolder::Mouse));
        const auto family = transfer->device == DeviceClass::Mouse ? macros::MacroFamily::Mouse
                                                                   : macros::MacroFamily::Keyboard;
        const auto folder = platform::categoryFolder(transfer->device == DeviceClass::Mouse
                                                         ? platform::DeviceFolder::Mouse
                                                         : platform::DeviceFolder::Keyboard);
        const auto plan = macros::planMacroTransfer(folder, family, macros::macroCapacity(transfer->info));
        framesTotal = framesFor(transfer->keyPageBytes);
        if (paths && paths->outcome == macros::BlockPlan::Outcome::Ready)
            framesTotal += framesFor(paths->block.size());
        if (plan.outcome == macros::BlockPlan::Outcome::Ready) framesTotal += framesFor(plan.block.size());

        if (paths) {
            if (paths->outcome == macros::BlockPlan::Outcome::OutOfMemory) {
                transfer->messageId = "message_text_7";
            } else if (paths->outcome == macros::BlockPlan::Outcome::Ready && !job.stopping()) {
                device::BeginTransfer(link);
                device::WriteCursorPathBlock(link, paths->block, chunkProgress);
                device::EndTransfer(link);
            }
        }
        if (plan.outcome == macros::BlockPlan::Outcome::TooLarge) {
            // Nothing is sent, not even the key block.
            char text[512];
            std::snprintf(text, sizeof text, tooLarge.c_str(), static_cast<int>(plan.excess));
            transfer->messageText = text;
        } else if (plan.outcome == macros::BlockPlan::Outcome::OutOfMemory) {
            transfer->messageId = "message_text_7";
        } else if (!job.stopping() && link.open) {
            if (plan.outcome == macros::BlockPlan::Outcome::Ready) {
                device::BeginTransfer(link);
                device::WriteMacroBlock(link, plan.block, chunkProgress);
                device::EndTransfer(link);
            }
            if (!job.stopping() && link.open) {
                device::BeginTransfer(link);
                const int written = device::WriteKeyBlockPage(
                    link, std::span(transfer->keyPage).first(transfer->keyPageBytes),
                    transfer->keyPageNumber);
                device::EndTransfer(link);
                transfer->completed = written == device::kResultOk && link.open.load();
            }
        }
        framesDone = framesTotal;
        report(1, 1);
        window_.postTask([this, transfer] {
            device::AppState& app = window_.state();
            if (transfer->infoRead) app.state(transfer->device).info = transfer->info;
            outcome_.completed = transfer->completed;
            outcome_.message =
                transfer->messageId.empty() ? std::string() : window_.skin().text(transfer->messageId);
            if (!transfer->messageText.empty())
                outcome_.message += (outcome_.message.empty() ? "" : " ") + transfer->messageText;
            if (!transfer->messageId.empty()) window_.messages().showMessage(transfer->messageId);
            if (!transfer->messageText.empty()) window_.messages().showText(transfer->messageText);
            // What went to the device is what the selected profile keeps.
            using settings::pages::StoredProfile;
            if (transfer->completed && storeSettings)
                storeSettings(transfer->device == DeviceClass::Mouse
                                  ? static_cast<unsigned>(StoredProfile::MouseDevice)
                                  : StoredProfile::KeyboardDevice | StoredProfile::KeyboardKeys);
            window_.handle(AppMessage::ProgressDone, 0, 0);
            enableButtons(true);
            running_ = false;
            for (auto& done : std::exchange(whenDone_, {})) done();
        });
    });
}

} // namespace zq::shell
