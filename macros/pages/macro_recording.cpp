#include "macros/pages/macro_recording.h"

#include "platform/debug.h"
#include "ui/page.h"

#include <array>
#include <chrono>
#include <string>

namespace zq::macros::pages {

namespace {

// Editor page 0 of "<p>_tab_macro_edit": the hint, and the recording's state under it.
constexpr int kEditorNothing = 0;

// What the record button turns off while it records, and on again when it stops (the five options with
// them; the name list stays locked until Save or Cancel).
constexpr std::array<std::string_view, 7> kListButtons{
    "_macro_btn_down",   "_macro_btn_up",        "_macro_btn_uptop", "_macro_btn_downbottom",
    "_macro_btn_delete", "_macro_btn_deleteall", "_macro_btn_cancel"};
constexpr std::array<std::string_view, 5> kOptions{"_macro_keyboard_event", "_macro_mouse_click",
                                                   "_macro_mouse_roller", "_macro_mouse_move",
                                                   "_macro_check_time"};

// The window messages the recorder knows mouse buttons by; the side buttons are not recorded.
std::uint32_t windowMessage(const platform::MouseHookEvent& event) {
    using platform::MouseHookButton;
    switch (event.button) {
    case MouseHookButton::Left:
        return event.down ? 0x201 : 0x202;
    case MouseHookButton::Right:
        return event.down ? 0x204 : 0x205;
    case MouseHookButton::Middle:
        return event.down ? 0x207 : 0x208;
    case MouseHookButton::Back:
    case MouseHookButton::Forward:
        break;
    }
    return event.down ? 0x20B : 0x20C;
}

// What the page says of the running capture; `holdsKeys`: whether keys are kept from other applications.
const char* stateText(platform::HookBackendKind kind, bool holdsKeys) {
    switch (kind) {
    case platform::HookBackendKind::Evdev:
        // No keyboard grabbed (the keys are not recorded, or none could be): they reach the others.
        if (holdsKeys) return "record_state_evdev_text";
        [[fallthrough]];
    case platform::HookBackendKind::X11:
        return "record_state_x11_text";
    case platform::HookBackendKind::InWindow:
        return "record_state_window_text";
    case platform::HookBackendKind::Injected:
        return "record_state_injected_text";
    case platform::HookBackendKind::None:
        break;
    }
    return "record_state_none_text";
}

std::uint32_t steadyTick() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

MacroRecording::MacroRecording(PageContext& context, MacroEditor& editor, Tick tick)
    : ctx_(context), editor_(editor), tick_(tick ? std::move(tick) : Tick(steadyTick)) {}

bool MacroRecording::optionOn(std::string_view suffix) const {
    return ctx_.page.option(editor_.name(suffix)).selected();
}

void MacroRecording::toggle() {
    if (editor_.names().empty()) return;
    editor_.enterEditing();
    ctx_.page.tabs(editor_.name("_tab_macro_edit")).selectPage(kEditorNothing);
    if (recorder_.recording())
        stop();
    else
        start();
}

void MacroRecording::start() {
    const bool keys = optionOn("_macro_keyboard_event");
    recordClicks_ = optionOn("_macro_mouse_click");
    const bool mouse = recordClicks_ || optionOn("_macro_mouse_roller") || optionOn("_macro_mouse_move");
    fixedDelay_ = optionOn("_macro_check_time");

    platform::HookCallbacks callbacks;
    if (keys) callbacks.key = [this](const platform::KeyHookEvent& e) { onKey(e); };
    if (mouse) callbacks.mouse = [this](const platform::MouseHookEvent& e) { onMouse(e); };
    // Nothing to listen to installs nothing; a capture that cannot start leaves the recording running
    // without it, and the page says why.
    const bool listening =
        (keys || mouse) && ctx_.inputHooks.install(platform::HookMode::Recording, callbacks);
    recorder_.start(tick_());
    setRecordingControls(true);

    ui::Control state = ctx_.page.find(editor_.name("_macro_record_state"));
    state.setTextId(listening ? stateText(ctx_.inputHooks.activeBackend(), ctx_.inputHooks.holdsKeysBack())
                              : "record_state_none_text");
    state.setToolTip(listening || !(keys || mouse) ? std::string() : ctx_.inputHooks.lastError());
    state.setVisible(keys || mouse);
}

void MacroRecording::stop() {
    if (!recorder_.recording()) return;
    ctx_.inputHooks.removeAll();
    for (const RecordedStep& step : recorder_.finish(tick_(), fixedDelay_)) append(step);
    setRecordingControls(false);
    ui::Control state = ctx_.page.find(editor_.name("_macro_record_state"));
    state.setTextId("record_state_off_text");
    state.setVisible(false);
}

void MacroRecording::setRecordingControls(bool recording) {
    ui::Page& page = ctx_.page;
    page.find(editor_.name("_Macro_list")).setEnabled(!recording);
    page.find(editor_.name("_macro_btn_save")).setEnabled(!recording);
    page.find(editor_.name("_macro_btn_redio"))
        .setTextId(recording ? "macro_btn_stop_redio_text" : "macro_btn_star_redio_text");
    for (std::string_view button : kListButtons) page.find(editor_.name(button)).setEnabled(!recording);
    for (std::string_view option : kOptions) page.find(editor_.name(option)).setEnabled(!recording);
    if (!recording) editor_.setEditingControlsEnabled(true); // the to-top button's hot image with them
}

void MacroRecording::onKey(const platform::KeyHookEvent& event) {
    if (!recorder_.recording() || event.virtualKey > 0xFFFF) return;
    const std::uint32_t now = tick_();
    if (editor_.family() == MacroFamily::Mouse)
        platform::debugString(std::to_string(event.virtualKey) + ",0," + std::to_string(event.flags) + ",0," +
                              std::to_string(now));
    if (auto step =
            recorder_.key(static_cast<std::uint16_t>(event.virtualKey), event.flags, now, fixedDelay_))
        append(*step);
}

void MacroRecording::onMouse(const platform::MouseHookEvent& event) {
    if (!recorder_.recording()) return;
    if (auto step = recorder_.mouse(windowMessage(event), tick_(), fixedDelay_, recordClicks_)) append(*step);
}

void MacroRecording::append(const RecordedStep& step) {
    ActionList actions = editor_.actions();
    if (step.recorderRow)
        actions.appendRecorderRow(step.action);
    else
        actions.append(step.action);
    // The pause lands on the action before: an action's delay is the pause that followed it.
    const int previous = actions.count() - 2;
    if (previous < 0) return;
    MacroAction before = actions.action(previous);
    before.setDelay(step.previousDelay);
    actions.update(previous, before);
}

} // namespace zq::macros::pages
