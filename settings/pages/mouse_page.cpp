#include "settings/pages/mouse_page.h"

#include "device/commands.h"
#include "platform/data_folders.h"
#include "platform/host_mouse_settings.h"
#include "settings/dpi_step_table.h"
#include "settings/host_mouse_rules.h"
#include "settings/key_table_placement.h"
#include "settings/pages/button_edit_rules.h"
#include "settings/pages/button_editor.h"
#include "settings/pages/lighting_pages.h"
#include "settings/pages/mouse_default_files.h"
#include "ui/colour_picker.h"
#include "ui/dispatcher.h"
#include "ui/message_presenter.h"
#include "ui/page.h"
#include "ui/ui_thread.h"

#include <algorithm>
#include <vector>

namespace zq::settings::pages {

namespace {

using device::DeviceClass;
using ui::Notification;
namespace nt = ui::notify;

constexpr int kDpiLevels = static_cast<int>(kDpiLevelCount);
// The layout has a sixth DPI row that no field of the block backs; it is labelled and highlighted only.
constexpr int kLayoutDpiRows = 6;
constexpr std::uint32_t kCurrentLevelColour = 0xFFFF0000;
constexpr std::uint32_t kOtherLevelColour = 0xFFFFFFFF;
constexpr int kLightSliderMax = 4;
constexpr unsigned kBothFiles = StoredProfile::MouseDevice | StoredProfile::MouseLighting;
constexpr unsigned kDeviceFile = static_cast<unsigned>(StoredProfile::MouseDevice);
// The device-profile reset puts the desktop back to the unaccelerated speed and six wheel lines, the
// lighting reset to the same speed and one line; the sliders pass the step before on their way there.
constexpr int kResetPointerSpeed = 10;
constexpr int kDeviceResetWheelLines = 6;
constexpr int kLightingResetWheelLines = 1;
constexpr const char* kMissingFileMessage = "message_text_8";
constexpr const char* kDamagedFileMessage = "message_text_9";
// Onboard slots beyond the three button layouts take the layout of slot 2 (both sides).
constexpr int kHighestLayoutSlot = 2;

// A control of the performance page and one of the button page: whether each page is built yet.
constexpr const char* kPerformanceProbe = "ms_report_fct_combo";
constexpr const char* kButtonPictureProbe = "ms_key_3";

std::string dpiControl(int level, const char* item) {
    return "ms_DPI" + std::to_string(level + 1) + item;
}

void selectIfPresent(ui::ListLike list, int index) {
    list.select(index >= 0 && index < list.count() ? index : -1);
}

} // namespace

MousePage::MousePage(PageContext& context, LightingPages& lighting, ButtonEditor& buttons)
    : ctx_(context), lighting_(lighting), buttons_(buttons) {
    ui::Dispatcher& d = ctx_.dispatcher;
    for (int level = 0; level < kDpiLevels; ++level) {
        const std::string slider = dpiControl(level, "_slider");
        d.on(nt::kMoveValueChanged, slider, [this, level](const Notification&) { showDpiValue(level); });
        d.on(nt::kValueChanged, slider, [this, level](const Notification&) { storeDpi(level); });
    }
    d.onFamily(nt::kClick, "ms_DPIcolor_btn_", [this](const Notification&, int n) { chooseDpiColour(n); });
    d.on(nt::kItemSelect, "ms_report_fct_combo", [this](const Notification&) {
        const int rate = ctx_.page.combo("ms_report_fct_combo").current();
        if (rate < 0) return;
        changeBlock([rate](MouseSettingsBlock& b) { b.setReportRate(static_cast<std::uint8_t>(rate)); },
                    kBothFiles);
    });

    // The lighting controls belong to the lighting page where it serves them; these are the mouse
    // page's own rules for them otherwise.
    onUnlessServed(nt::kValueChanged, "ms_deng_light_slider", [this] {
        const int v = std::clamp(ctx_.page.slider("ms_deng_light_slider").value(), 0, 255);
        changeBlock([v](MouseSettingsBlock& b) { b.setBrightness(static_cast<std::uint8_t>(v)); },
                    kBothFiles);
    });
    onUnlessServed(nt::kValueChanged, "ms_deng_speed_slider", [this] {
        const int v = std::clamp(kLightSliderMax - ctx_.page.slider("ms_deng_speed_slider").value(), 0,
                                 kLightSliderMax);
        changeBlock([v](MouseSettingsBlock& b) { b.setLightSpeed(static_cast<std::uint8_t>(v)); },
                    kBothFiles);
    });
    onUnlessServed(nt::kClick, "ms_Deng_FXL_btn",
                   [this] { changeBlock([](MouseSettingsBlock& b) { b.setDirection(0); }, kBothFiles); });
    onUnlessServed(nt::kClick, "ms_Deng_FXR_btn",
                   [this] { changeBlock([](MouseSettingsBlock& b) { b.setDirection(1); }, kBothFiles); });

    d.on(nt::kValueChanged, "ms_point_speed_slider", [this](const Notification&) {
        const int speed = pointerSpeedFromSlider(ctx_.page.slider("ms_point_speed_slider").value());
        applyHostLater(speed, std::nullopt, kBothFiles);
    });
    d.on(nt::kClick, "ms_gunlun_speed_up_btn", [this](const Notification&) { stepWheel(true); });
    d.on(nt::kClick, "ms_gunlun_speed_down_btn", [this](const Notification&) { stepWheel(false); });
    d.on(nt::kTextChanged, "ms_gunlun_speed_edit", [this](const Notification&) { wheelTextChanged(); });
    d.on(nt::kKillFocus, "ms_gunlun_speed_edit", [this](const Notification&) { wheelLeft(); });

    d.on(nt::kClick, "ms_pro_device_reset_btn", [this](const Notification&) { resetDeviceProfile(); });
    d.on(nt::kClick, "ms_pro_deng_reset_btn", [this](const Notification&) { resetLightingProfile(); });

    // The performance and button pages are built when first opened (most runs open neither): until then
    // what they would show waits, and they show it as they are built.
    ctx_.page.onBuilt(kPerformanceProbe, [this] {
        if (refreshed_) showPerformance();
        if (hostShown_) showHostValues(hostShown_->first, hostShown_->second);
    });
    ctx_.page.onBuilt(kButtonPictureProbe, [this] {
        if (pictureSlot_) showButtonPictures(*pictureSlot_);
    });
}

void MousePage::onUnlessServed(const char* type, const char* name, std::function<void()> handler) {
    if (ctx_.dispatcher.handles(type, name)) return;
    ctx_.dispatcher.on(type, name, [handler = std::move(handler)](const Notification&) { handler(); });
}

MouseSettingsBlock MousePage::block() const {
    MouseSettingsBlock b;
    b.bytes = ctx_.state.mouse.current;
    return b;
}

template <class Change> void MousePage::changeBlock(Change change, unsigned storedProfiles) {
    MouseSettingsBlock b = block();
    change(b);
    ctx_.state.mouse.current = b.bytes;
    ctx_.state.markDirty(DeviceClass::Mouse);
    ctx_.save(storedProfiles);
}

// --- Refresh ----------------------------------------------------------------------------------------------

void MousePage::refresh() {
    ui::Page& page = ctx_.page;
    // The light mode first: its operation may force the colour cycle, which the checks below then show.
    page.tabs("ms_deng_mode_switch").selectPage(0);
    const int mode = block().lightMode();
    selectIfPresent(page.combo("ms_deng_combo_modeSelect0"), mode);
    lighting_.applyMouseLightMode(mode);

    const MouseSettingsBlock b = block();
    refreshed_ = true;
    if (page.built(kPerformanceProbe)) showPerformance();
    page.slider("ms_deng_light_slider").setValue(b.brightness());
    page.slider("ms_deng_speed_slider")
        .setValue(kLightSliderMax - std::min<int>(b.lightSpeed(), kLightSliderMax));

    lighting_.showMouseColour(b.lightColour());
    page.option("ms_Deng_7color_check").setSelected(b.sevenColour());
    page.option("ms_Deng_FXL_check").setSelected(b.direction() != 0);
    page.option("ms_Deng_FXR_check").setSelected(b.direction() == 0);
    buttons_.refresh();
}

// The report rate and the DPI levels of the performance page.
void MousePage::showPerformance() {
    ui::Page& page = ctx_.page;
    const MouseSettingsBlock b = block();
    showReportRate(b.reportRate());
    for (int row = 0; row < kLayoutDpiRows; ++row) {
        page.label(dpiControl(row, "_min")).setText(std::to_string(kDpiMin));
        page.label(dpiControl(row, "_max")).setText(std::to_string(kDpiMax));
    }
    for (int level = 0; level < kDpiLevels; ++level) {
        // A code the step table lacks stands at the step with the nearest code; the stored code itself
        // stays until the slider is moved.
        const int index = sliderIndexOfCode(b.dpiCode(static_cast<std::size_t>(level)));
        ui::Slider slider = page.slider(dpiControl(level, "_slider"));
        slider.setRange(kDpiMinIndex, kDpiMaxIndex);
        slider.setValue(index);
        page.label(dpiControl(level, "_label_value")).setText(std::to_string(dpiOfIndex(index)));
        page.button("ms_DPIcolor_btn_" + std::to_string(level + 1))
            .setBkColor(toArgb(b.dpiColour(static_cast<std::size_t>(level))));
    }
    const int current = highlightedDpiRank(b.dpiLevel());
    for (int row = 0; row < kLayoutDpiRows; ++row) {
        const std::uint32_t colour = row == current ? kCurrentLevelColour : kOtherLevelColour;
        page.label(dpiControl(row, "_label_rank")).setTextColor(colour);
        page.label(dpiControl(row, "_label_value")).setTextColor(colour);
    }
}

void MousePage::showReportRate(int rate) {
    selectIfPresent(ctx_.page.combo("ms_report_fct_combo"), rate);
}

void MousePage::reselectReportRate() {
    ui::ListLike combo = ctx_.page.combo("ms_report_fct_combo");
    const int rate = block().reportRate();
    if (rate < combo.count()) combo.select(rate, ui::Notify::Yes);
}

// --- DPI
// ----------------------------------------------------------------------------------------------------

void MousePage::showDpiValue(int level) {
    const int index = ctx_.page.slider(dpiControl(level, "_slider")).value();
    ctx_.page.label(dpiControl(level, "_label_value")).setText(std::to_string(dpiOfIndex(index)));
}

void MousePage::storeDpi(int level) {
    showDpiValue(level);
    const std::uint8_t code = codeOfIndex(ctx_.page.slider(dpiControl(level, "_slider")).value());
    changeBlock([level, code](MouseSettingsBlock& b) { b.setDpiCode(static_cast<std::size_t>(level), code); },
                kBothFiles);
}

void MousePage::chooseDpiColour(int button) {
    if (button < 1 || button > kDpiLevels) return; // the sixth colour has no field to go to
    const auto level = static_cast<std::size_t>(button - 1);
    ui::Button control = ctx_.page.button("ms_DPIcolor_btn_" + std::to_string(button));
    const std::uint32_t shown = control.bkColor();
    const auto chosen = ctx_.colours.pick(shown != 0 ? shown : toArgb(block().dpiColour(level)));
    if (!chosen) return;
    control.setBkColor(0xFF000000u | *chosen);
    const Rgb colour = fromArgb(*chosen);
    changeBlock([level, colour](MouseSettingsBlock& b) { b.setDpiColour(level, colour); }, kDeviceFile);
}

// --- Pointer speed and wheel lines -----------------------------------------------------------------------

void MousePage::applyHostLater(std::optional<int> pointerSpeed, std::optional<int> wheelLines,
                               unsigned storedProfiles) {
    if (pointerSpeed) pointerSpeed = clampPointerSpeed(*pointerSpeed);
    if (wheelLines) wheelLines = clampWheelLines(*wheelLines);
    platform::HostMouseSettings& host = ctx_.hostMouse;
    std::weak_ptr<bool> alive = alive_;
    auto saveWhenDone = [this, alive, storedProfiles] {
        if (storedProfiles == 0) return;
        ui::UiThread::post([this, alive, storedProfiles] {
            if (alive.lock()) ctx_.save(storedProfiles);
        });
    };
    auto work = [&host, pointerSpeed, wheelLines, saveWhenDone] {
        if (pointerSpeed) host.setPointerSpeed(*pointerSpeed);
        if (wheelLines) host.setWheelScrollLines(*wheelLines);
        saveWhenDone();
    };
    if (ctx_.runInBackground)
        ctx_.runInBackground(std::move(work));
    else
        work();
}

void MousePage::stepWheel(bool up) {
    ui::Edit edit = ctx_.page.edit("ms_gunlun_speed_edit");
    const long now = editNumber(edit.text());
    const int lines = up ? wheelStepUp(now) : wheelStepDown(now);
    edit.setText(std::to_string(lines));
    applyHostLater(std::nullopt, lines, kBothFiles);
}

void MousePage::wheelTextChanged() {
    ui::Edit edit = ctx_.page.edit("ms_gunlun_speed_edit");
    const long lines = editNumber(edit.text());
    if (lines > kWheelLinesMax)
        edit.setText(std::to_string(kWheelLinesMax));
    else if (lines <= 0)
        edit.setText(std::to_string(kWheelLinesMin));
}

void MousePage::wheelLeft() {
    const int lines = clampWheelLines(editNumber(ctx_.page.edit("ms_gunlun_speed_edit").text()));
    // The user just left the field: the desktop takes the value at once, before anything else runs.
    ctx_.hostMouse.setWheelScrollLines(lines);
    ctx_.save(kDeviceFile);
}

// --- Device-profile selection -------------------------------------------------------------------------

void MousePage::selectDeviceProfile(int index) {
    device::DeviceState& mouse = ctx_.state.mouse;
    std::copy_n(mouse.records[0].begin(), kMouseBlockSize, mouse.current.begin());

    // The desktop's own values stay (a loaded file does not change them); they are shown and handed to
    // the desktop again.
    const int speed = hostValueOrOne(ctx_.hostMouse.pointerSpeed());
    const int lines = hostValueOrOne(ctx_.hostMouse.wheelScrollLines());
    hostShown_ = {speed, lines};
    if (ctx_.page.built(kPerformanceProbe)) showHostValues(speed, lines);
    applyHostLater(speed, lines, 0);

    const int slot = std::clamp(index, 0, kHighestLayoutSlot);
    mouse.current[mouse_offset::kSlot] = static_cast<std::uint8_t>(slot);

    // The record goes to the head of the settings memory, whose byte 0 selects the active slot: it
    // selects the slot the block is pushed to, not whatever slot byte the file happened to carry (which
    // would leave the mouse on another slot than its settings and buttons, or be refused past slot 5).
    std::array<std::uint8_t, kMouseBlockSize> head{};
    std::copy_n(mouse.records[0].begin(), kMouseBlockSize, head.begin());
    head[mouse_offset::kSlot] = static_cast<std::uint8_t>(slot);
    KeyAssignmentTable table;
    table.bytes = mouse.keyPages[0];
    const auto placed = placeKeyTableForSlot(table, slot, PlacementBase::OwnTable);
    ctx_.runOnDevice(DeviceClass::Mouse,
                     [head, placed](device::DeviceLink& link, device::DeviceState&, platform::Event& stop) {
                         device::SyncResult result;
                         if (stop.isSet()) {
                             result.status = device::SyncStatus::Cancelled;
                             return result;
                         }
                         device::WriteProfileRecord(link, 0, head);
                         if (stop.isSet()) {
                             result.status = device::SyncStatus::Cancelled;
                             return result;
                         }
                         std::vector<std::uint8_t> page(
                             std::max<std::size_t>(placed.size(), link.blockLength.load()), 0);
                         std::copy(placed.begin(), placed.end(), page.begin());
                         device::WriteKeyBlockPage(link, page, 0);
                         return result;
                     },
                     {});
    // Pushed after the writes above: the push runs on the same worker, behind them. The page is refreshed
    // once the writes are done, as after every device sequence.
    ctx_.state.markDirty(DeviceClass::Mouse);
    pictureSlot_ = slot;
    if (ctx_.page.built(kButtonPictureProbe)) showButtonPictures(slot);
}

void MousePage::showHostValues(int pointerSpeed, int wheelLines) {
    ctx_.page.slider("ms_point_speed_slider").setValue(sliderFromPointerSpeed(pointerSpeed));
    ctx_.page.edit("ms_gunlun_speed_edit").setText(std::to_string(wheelLines));
}

void MousePage::showButtonPictures(int slot) {
    const bool rightSide = slot != 1;
    const bool leftSide = slot != 0;
    for (const char* name : {"ms_key_3", "ms_key_4", "ms_key_3_0", "ms_key_4_0"})
        ctx_.page.find(name).setVisible(rightSide);
    for (const char* name : {"ms_key_7", "ms_key_8", "ms_key_7_0", "ms_key_8_0"})
        ctx_.page.find(name).setVisible(leftSide);
}

// --- Resets -----------------------------------------------------------------------------------------------

namespace {

// Reads a default file of the program's folder; on failure the user is told which way it failed.
bool readDefault(PageContext& ctx, std::string_view name, std::span<std::uint8_t> payload) {
    const auto file = platform::resolveCaseInsensitive(platform::applicationFolder(), name);
    switch (readDefaultFile(file, payload)) {
    case DefaultFileRead::Ok:
        return true;
    case DefaultFileRead::Missing:
        ctx.messages.showMessage(kMissingFileMessage);
        return false;
    case DefaultFileRead::BadMagic:
        ctx.messages.showMessage(kDamagedFileMessage);
        return false;
    }
    return false;
}

device::SyncResult writeKeyPageUnshifted(device::DeviceLink& link, const std::array<std::uint8_t, 512>& table,
                                         platform::Event& stop) {
    device::SyncResult result;
    if (stop.isSet()) {
        result.status = device::SyncStatus::Cancelled;
        return result;
    }
    std::vector<std::uint8_t> page(std::max<std::size_t>(table.size(), link.blockLength.load()), 0);
    std::copy(table.begin(), table.end(), page.begin());
    device::WriteKeyBlockPage(link, page, 0);
    return result;
}

} // namespace

bool MousePage::resetDeviceProfile() {
    const int position = ctx_.page.combo("ms_device_profile_combo").current();
    std::array<std::uint8_t, kMouseDevicePayloadSize> payload{};
    if (!readDefault(ctx_, mouseDeviceDefaultName(position), payload)) return false;

    device::DeviceState& mouse = ctx_.state.mouse;
    std::copy_n(payload.begin(), kKeyTableSize, mouse.keyPages[0].begin());
    std::copy_n(payload.begin() + kKeyTableSize, kMouseRecordSize, mouse.records[0].begin());
    std::copy_n(mouse.records[0].begin(), kMouseBlockSize, mouse.current.begin());
    ctx_.save(kDeviceFile);
    refresh();
    ctx_.state.markDirty(DeviceClass::Mouse);

    // The slider passes the step before its reset position, as a drag there would.
    ui::Slider pointer = ctx_.page.slider("ms_point_speed_slider");
    pointer.setValue(3);
    pointer.setValue(4);
    ctx_.page.edit("ms_gunlun_speed_edit").setText(std::to_string(kDeviceResetWheelLines));
    applyHostLater(kResetPointerSpeed, kDeviceResetWheelLines, kDeviceFile);

    const auto table = mouse.keyPages[0];
    ctx_.runOnDevice(DeviceClass::Mouse,
                     [table](device::DeviceLink& link, device::DeviceState&, platform::Event& stop) {
                         return writeKeyPageUnshifted(link, table, stop);
                     },
                     {});
    return true;
}

bool MousePage::resetLightingProfile() {
    std::array<std::uint8_t, kMouseLightingResetBytes> payload{};
    if (!readDefault(ctx_, kMouseLightingDefaultName, payload)) return false;

    device::DeviceState& mouse = ctx_.state.mouse;
    std::copy(payload.begin(), payload.end(), mouse.records[0].begin());
    // The block stays on the slot the mouse is on: the default's slot byte would send the reset lighting
    // to another slot's record than the one the mouse shows.
    const std::uint8_t slot = mouse.current[mouse_offset::kSlot];
    std::copy_n(payload.begin(), kMouseBlockSize, mouse.current.begin());
    mouse.current[mouse_offset::kSlot] = slot;
    ctx_.save(kBothFiles);
    refresh();
    ctx_.state.markDirty(DeviceClass::Mouse);

    ui::Slider pointer = ctx_.page.slider("ms_point_speed_slider");
    pointer.setValue(4);
    pointer.setValue(5);
    ctx_.page.edit("ms_gunlun_speed_edit").setText(std::to_string(kLightingResetWheelLines));
    ctx_.hostMouse.setWheelScrollLines(kLightingResetWheelLines);
    applyHostLater(kResetPointerSpeed, std::nullopt, kBothFiles);
    return true;
}

} // namespace zq::settings::pages
