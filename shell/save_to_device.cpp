#include "shell/save_to_device.h"

#include "device/commands.h"
#include "macros/block_plan.h"
#include "macros/macro_block.h"
#include "platform/data_folders.h"
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
        const int steps = transfer->device == DeviceClass::Mouse ? 3 : 2;
        int done = 0;
        // The capacity comes from the device information; a mouse whose information was never read
        // (it is read only on a device report) is asked now, rather than refusing every macro.
        if (transfer->info[kMacroMemoryByte] == 0 && device::ReadDeviceInfo(link, transfer->info) == 1)
            transfer->infoRead = true;
        if (transfer->device == DeviceClass::Keyboard)
            transfer->keyPageBytes = std::min<std::size_t>(3u * transfer->info[5], device::kKeyPageBytes);

        if (transfer->device == DeviceClass::Mouse) {
            const auto paths =
                macros::planCursorPathTransfer(platform::categoryFolder(platform::DeviceFolder::Mouse));
            if (paths.outcome == macros::BlockPlan::Outcome::OutOfMemory) {
                transfer->messageId = "message_text_7";
            } else if (paths.outcome == macros::BlockPlan::Outcome::Ready && !job.stopping()) {
                device::BeginTransfer(link);
                device::WriteCursorPathBlock(link, paths.block);
                device::EndTransfer(link);
            }
            report(++done, steps);
        }
        const auto family = transfer->device == DeviceClass::Mouse ? macros::MacroFamily::Mouse
                                                                   : macros::MacroFamily::Keyboard;
        const auto folder = platform::categoryFolder(transfer->device == DeviceClass::Mouse
                                                         ? platform::DeviceFolder::Mouse
                                                         : platform::DeviceFolder::Keyboard);
        const auto plan = macros::planMacroTransfer(folder, family, macros::macroCapacity(transfer->info));
        if (plan.outcome == macros::BlockPlan::Outcome::TooLarge) {
            // Nothing is sent, not even the key block.
            char text[512];
            std::snprintf(text, sizeof text, tooLarge.c_str(), static_cast<int>(plan.excess));
            transfer->messageText = text;
        } else if (plan.outcome == macros::BlockPlan::Outcome::OutOfMemory) {
            transfer->messageId = "message_text_7";
        } else if (!job.stopping()) {
            if (plan.outcome == macros::BlockPlan::Outcome::Ready) {
                device::BeginTransfer(link);
                device::WriteMacroBlock(link, plan.block);
                device::EndTransfer(link);
            }
            report(++done, steps);
            device::BeginTransfer(link);
            device::WriteKeyBlockPage(link, std::span(transfer->keyPage).first(transfer->keyPageBytes),
                                      transfer->keyPageNumber);
            device::EndTransfer(link);
        }
        report(steps, steps);
        window_.postTask([this, transfer] {
            device::AppState& app = window_.state();
            if (transfer->infoRead) app.state(transfer->device).info = transfer->info;
            if (!transfer->messageId.empty()) window_.messages().showMessage(transfer->messageId);
            if (!transfer->messageText.empty()) window_.messages().showText(transfer->messageText);
            window_.handle(AppMessage::ProgressDone, 0, 0);
            enableButtons(true);
            running_ = false;
            for (auto& done : std::exchange(whenDone_, {})) done();
        });
    });
}

} // namespace zq::shell
