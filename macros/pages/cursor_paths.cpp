#include "macros/pages/cursor_paths.h"

#include "device/commands.h"
#include "macros/block_plan.h"
#include "macros/cursor_path.h"
#include "macros/cursor_path_files.h"
#include "macros/macro_import.h"
#include "platform/data_folders.h"
#include "platform/debug.h"
#include "ui/dispatcher.h"
#include "ui/file_dialogs.h"
#include "ui/message_presenter.h"
#include "ui/page.h"

#include <string>

namespace zq::macros::pages {

namespace {

using ui::Notification;
namespace notify = ui::notify;

constexpr const char* kGunPrefix = "ms_gun_op_";
constexpr const char* kBulletPrefix = "ms_bullet_op_";
constexpr const char* kEditLayout = "cursor_edit_layout";
constexpr const char* kStepLabel = "bullet_select_index";
constexpr const char* kDelayEdit = "ms_cursor_delay_eidt";
constexpr const char* kXEdit = "ms_cursor_x_eidt";
constexpr const char* kYEdit = "ms_cursor_y_eidt";
constexpr const char* kXCheck = "ms_cursor_x_check";
constexpr const char* kYCheck = "ms_cursor_y_check";
constexpr const char* kSaveButton = "ms_bulletdate_save_btn";

constexpr const char* kLeftText = "mouse_move_to_left_text";
constexpr const char* kRightText = "mouse_move_to_right_text";
constexpr const char* kUpText = "mouse_move_to_up_text";
constexpr const char* kDownText = "mouse_move_to_down_text";

constexpr const char* kPathFilter = "(*.cur) | *.cur ||";
constexpr const char* kMsgImportInvalid = "message_cursor_import_invalid";
constexpr const char* kMsgWriteFailed = "message_file_write_failed";

std::string bulletName(std::size_t step) {
    return kBulletPrefix + std::to_string(step);
}

ui::FileDialogRequest pathDialog() {
    ui::FileDialogRequest request;
    request.filter = kPathFilter;
    request.defaultExtension = "cur";
    request.initialName = "*.cur";
    return request;
}

} // namespace

CursorPathPage::CursorPathPage(PageContext& context) : ctx_(context) {
    registerHandlers();
}

std::filesystem::path CursorPathPage::mouseFolder() const {
    return platform::categoryFolder(platform::DeviceFolder::Mouse);
}

std::optional<std::filesystem::path> CursorPathPage::indexedFile() const {
    return cursorPathFile(mouseFolder(), slot_);
}

std::filesystem::path CursorPathPage::fixedFile() const {
    return platform::resolveCaseInsensitive(mouseFolder(), cursorPathFileName(slot_));
}

void CursorPathPage::registerHandlers() {
    ui::Dispatcher& d = ctx_.dispatcher;
    d.onFamily(notify::kSelectChanged, kGunPrefix, [this](const Notification& n, int index) {
        if (n.wParam != 0 && index >= 0 && static_cast<std::size_t>(index) < kCursorPathSlots)
            selectSlot(static_cast<std::size_t>(index));
    });
    d.onFamily(notify::kSelectChanged, kBulletPrefix, [this](const Notification& n, int index) {
        if (index < 0 || static_cast<std::size_t>(index) >= kCursorPathSteps) return;
        if (n.wParam != 0)
            selectStep(static_cast<std::size_t>(index));
        else if (step_ == static_cast<std::size_t>(index))
            unselectStep(); // the selected step clicked again
    });
    d.on(notify::kClick, "bullet_selected_prev", [this](const Notification&) {
        if (step_ && *step_ > 0) ctx_.page.option(bulletName(*step_ - 1)).setSelected(true, ui::Notify::Yes);
    });
    d.on(notify::kClick, "bullet_selected_next", [this](const Notification&) {
        if (step_ && *step_ + 1 < kCursorPathSteps)
            ctx_.page.option(bulletName(*step_ + 1)).setSelected(true, ui::Notify::Yes);
    });
    d.on(notify::kTextChanged, kXEdit, [this](const Notification&) { clampEdit(kXEdit, kMaxDistance); });
    d.on(notify::kTextChanged, kYEdit, [this](const Notification&) { clampEdit(kYEdit, kMaxDistance); });
    d.on(notify::kTextChanged, kDelayEdit, [this](const Notification&) { clampEdit(kDelayEdit, kMaxDelay); });
    d.on(notify::kSelectChanged, kXCheck,
         [this](const Notification&) { checkChanged(kXCheck, kLeftText, kRightText); });
    d.on(notify::kSelectChanged, kYCheck,
         [this](const Notification&) { checkChanged(kYCheck, kUpText, kDownText); });
    d.on(notify::kClick, "ms_bulletdate_reset_btn", [this](const Notification&) { reset(); });
    d.on(notify::kClick, "ms_bulletdate_import_btn", [this](const Notification&) { importPath(); });
    d.on(notify::kClick, "ms_bulletdate_export_btn", [this](const Notification&) { exportPath(); });
    d.on(notify::kClick, kSaveButton, [this](const Notification&) { transfer(); });
}

void CursorPathPage::start() {
    if (!ensureCursorPaths(mouseFolder(), platform::applicationFolder()))
        platform::debugString("cursor paths: default files not copied");
    // The page's own state once it is built (most runs never open it).
    ctx_.page.whenBuilt(kEditLayout, [this] {
        for (std::size_t g = 0; g < kCursorPathSlots; ++g)
            if (ctx_.page.option(kGunPrefix + std::to_string(g)).selected()) slot_ = g;
        ctx_.page.find(kEditLayout).setEnabled(false);
    });
}

void CursorPathPage::selectSlot(std::size_t slot) {
    slot_ = slot;
    selectStep(0);
}

void CursorPathPage::selectStep(std::size_t step) {
    // The step options behave as one choice that can also be emptied: the others are cleared here.
    for (std::size_t b = 0; b < kCursorPathSteps; ++b)
        if (b != step) ctx_.page.option(bulletName(b)).setSelected(false);
    ctx_.page.option(bulletName(step)).setSelected(true);
    step_ = step;
    loadStep();
    ctx_.page.find(kEditLayout).setEnabled(true);
    ctx_.page.find(kStepLabel).setText(std::to_string(step + 1));
}

void CursorPathPage::unselectStep() {
    if (step_) ctx_.page.option(bulletName(*step_)).setSelected(false);
    step_.reset();
    ctx_.page.find(kEditLayout).setEnabled(false);
}

void CursorPathPage::loadStep() {
    if (!step_) return;
    const auto file = indexedFile();
    const CursorStep values = file ? loadCursorStep(*file, *step_).value_or(CursorStep{}) : CursorStep{};
    loading_ = true;
    ctx_.page.edit(kDelayEdit).setText(std::to_string(values.delay));
    ctx_.page.edit(kXEdit).setText(std::to_string(values.x.distance));
    ctx_.page.edit(kYEdit).setText(std::to_string(values.y.distance));
    ui::Option x = ctx_.page.option(kXCheck);
    x.setSelected(values.x.negative);
    x.setTextId(values.x.negative ? kLeftText : kRightText);
    ui::Option y = ctx_.page.option(kYCheck);
    y.setSelected(values.y.negative);
    y.setTextId(values.y.negative ? kUpText : kDownText);
    loading_ = false;
}

void CursorPathPage::saveStep() {
    if (!step_ || loading_) return;
    CursorStep values;
    values.delay = clampDelayInput(ctx_.page.edit(kDelayEdit).text());
    values.x = {clampDistanceInput(ctx_.page.edit(kXEdit).text()), ctx_.page.option(kXCheck).selected()};
    values.y = {clampDistanceInput(ctx_.page.edit(kYEdit).text()), ctx_.page.option(kYCheck).selected()};
    const auto file = indexedFile();
    // Each change is written at once; a write that fails is told once a step, not at every key typed.
    if (!file || !saveCursorStep(*file, *step_, values))
        platform::debugString("cursor path step not saved: the path file cannot be written");
}

void CursorPathPage::clampEdit(const char* editName, unsigned maximum) {
    ui::Edit edit = ctx_.page.edit(editName);
    if (parseDecimal(edit.text()) > static_cast<std::int32_t>(maximum)) edit.setText(std::to_string(maximum));
    saveStep();
}

void CursorPathPage::checkChanged(const char* checkName, const char* onText, const char* offText) {
    ui::Option check = ctx_.page.option(checkName);
    check.setTextId(check.selected() ? onText : offText);
    saveStep();
}

void CursorPathPage::reset() {
    if (!resetCursorPath(mouseFolder(), platform::applicationFolder(), slot_))
        ctx_.messages.showMessage(kMsgWriteFailed);
    selectStep(0);
}

void CursorPathPage::exportPath() {
    const auto target = ctx_.fileDialogs.saveFile(pathDialog());
    if (!target) return;
    platform::debugString("1212");
    const auto bytes = readExportBytes(fixedFile());
    if (!bytes) {
        ctx_.messages.showMessage("message_text_8");
        return;
    }
    if (!writeExportFile(*target, *bytes)) ctx_.messages.showMessage(kMsgWriteFailed);
}

void CursorPathPage::importPath() {
    const auto chosen = ctx_.fileDialogs.openFile(pathDialog());
    if (!chosen) return;
    // A path is a file of actions; an empty or foreign file would leave the slot without one.
    const ImportCheck check = checkImportFile(*chosen, kCursorPathMaxActions, false);
    switch (check.verdict) {
    case ImportCheck::Verdict::Unreadable:
        ctx_.messages.showMessage("message_text_8");
        return;
    case ImportCheck::Verdict::NotMacroFile:
        ctx_.messages.showMessage(kMsgImportInvalid);
        return;
    case ImportCheck::Verdict::TooManyActions:
        ctx_.messages.showMessage("message_text_18");
        return;
    case ImportCheck::Verdict::Accepted:
        break;
    }
    if (!writeExportFile(fixedFile(), check.bytes)) {
        ctx_.messages.showMessage(kMsgWriteFailed);
        return;
    }
    loadStep();
}

void CursorPathPage::transfer() {
    // One transfer at a time: the button is off until the worker is done with it.
    if (transferRunning_ || !ctx_.runOnDevice) return;
    transferRunning_ = true;
    ctx_.page.find(kSaveButton).setEnabled(false);
    const std::filesystem::path folder = mouseFolder();
    ctx_.runOnDevice(
        device::DeviceClass::Mouse,
        [folder](device::DeviceLink& link, device::DeviceState&, platform::Event& stop) {
            device::SyncResult result;
            const BlockPlan plan = planCursorPathTransfer(folder);
            if (plan.outcome == BlockPlan::Outcome::OutOfMemory) {
                result.message = "message_text_7";
            } else if (plan.outcome == BlockPlan::Outcome::Ready) {
                device::BeginTransfer(link);
                device::WriteCursorPathBlock(link, plan.block, [&link, &stop](std::size_t, std::size_t) {
                    return link.open.load() && !stop.isSet();
                });
                device::EndTransfer(link);
            } else if (plan.outcome == BlockPlan::Outcome::TooLarge) {
                platform::debugString("cursor paths not sent: the block is larger than 3072 bytes");
            }
            return result;
        },
        [this](const device::SyncResult&) {
            transferRunning_ = false;
            ctx_.page.find(kSaveButton).setEnabled(true);
        });
}

} // namespace zq::macros::pages
