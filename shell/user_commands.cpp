#include "shell/user_commands.h"

#include "shell/control/command_table.h"
#include "shell/main_window.h"
#include "shell/save_to_device.h"

#include <QEventLoop>
#include <QTimer>

#include <memory>
#include <string>

namespace zq::shell {

namespace {

using control::CommandTable;
using control::Reply;

constexpr int kMaxSlot = 5;
constexpr int kUploadLimitMs = 120000; // a macro block over a slow link takes seconds, not minutes

bool slotArgument(const CommandTable::Args& args, long long& slot) {
    return args.size() == 1 && control::parseInt(args[0], 0, kMaxSlot, slot);
}

} // namespace

void registerUserCommands(CommandTable& table, MainWindow& window, SaveToDevice& saveToDevice) {
    // The mouse's onboard slot: the click of its slot button (slot 5 has none on the page).
    table.registerCommand("slot", [&window](const CommandTable::Args& args) {
        long long slot = 0;
        if (!slotArgument(args, slot)) return Reply::usageError("usage: slot N (N from 0 to 5)");
        window.page().raise({ui::notify::kClick, "ms_profile_" + std::to_string(slot), 0, 0});
        return Reply::success({{"slot", static_cast<int>(slot)}});
    });
    // The pad's onboard slot: the selection in its slot list.
    table.registerCommand("pad-slot", [&window](const CommandTable::Args& args) {
        long long slot = 0;
        if (!slotArgument(args, slot)) return Reply::usageError("usage: pad-slot N (N from 0 to 5)");
        ui::ListLike list = window.page().combo("mp_deng_combo_profile");
        const int index = static_cast<int>(slot);
        if (index < list.count() && list.current() != index)
            list.select(index, ui::Notify::Yes);
        else
            window.page().raise({ui::notify::kItemSelect, "mp_deng_combo_profile", index, list.current()});
        return Reply::success({{"slot", index}});
    });
    // The device save button of the mouse or keyboard page, answered once the transfer has ended.
    table.registerCommand("macro", [&window, &saveToDevice](const CommandTable::Args& args) {
        if (args.size() != 2 || args[0] != "upload" || (args[1] != "mouse" && args[1] != "keyboard"))
            return Reply::usageError("usage: macro upload mouse|keyboard");
        if (saveToDevice.running()) return Reply::failure("a transfer to a device is already running");
        window.page().raise(
            {ui::notify::kClick, args[1] == "mouse" ? "ms_key_butt_prosave" : "kb_key_butt_prosave", 0, 0});
        // The window goes on meanwhile; only this request waits, in an event loop of its own.
        if (saveToDevice.running()) {
            // Shared: the transfer may end after this request gave up waiting.
            auto loop = std::make_shared<QEventLoop>();
            QTimer::singleShot(kUploadLimitMs, loop.get(), &QEventLoop::quit);
            saveToDevice.whenDone([weak = std::weak_ptr<QEventLoop>(loop)] {
                if (auto waiting = weak.lock()) waiting->quit();
            });
            loop->exec();
        }
        if (saveToDevice.running()) return Reply::failure("the transfer has not ended yet");
        return Reply::success();
    });
}

} // namespace zq::shell
