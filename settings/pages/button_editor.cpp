#include "settings/pages/button_editor.h"

#include "platform/data_folders.h"
#include "platform/input_hook.h"
#include "platform/private_profile.h"
#include "settings/default_key_tables.h"
#include "settings/function_lists.h"
#include "settings/key_code_table.h"
#include "settings/key_labels.h"
#include "settings/pages/button_edit_rules.h"
#include "ui/dispatcher.h"
#include "ui/message_presenter.h"
#include "ui/page.h"

#include <algorithm>
#include <array>

namespace zq::settings::pages {

namespace {

using ui::Notification;
namespace nt = ui::notify;

constexpr const char* kEditor = "ms_tab_function";
constexpr const char* kCategoryCombo = "ms_key_fct_combo";
constexpr const char* kCategoryPages = "ms_tab_function_switch";
constexpr const char* kCaptureEdit = "ms_key_fct_edit_21";
constexpr const char* kOnlyLeftClickMessage = "message_text_6";
// What the capture edit holds while no key has been captured.
constexpr std::string_view kNoKey = "0";
constexpr std::array<int, 10> kParameterCombos{11, 12, 13, 14, 21, 22, 23, 24, 25, 26};

// The macro index of the mouse's macro page: the names of the macros in macro-number order.
constexpr std::string_view kMacroIndexFile = "msMacro.ini";
constexpr std::string_view kMacroCountSection = "MACROCOUNT";
constexpr std::string_view kMacroCountKey = "count";
constexpr std::string_view kMacroNameSection = "MACRONAME";

std::string comboName(int n) {
    return "ms_key_fct_combo_" + std::to_string(n);
}
std::string editName(int n) {
    return "ms_key_fct_edit_" + std::to_string(n);
}
std::string buttonName(std::size_t i) {
    return "ms_key_" + std::to_string(i);
}

const char* captureStateText(platform::HookBackendKind kind) {
    switch (kind) {
    case platform::HookBackendKind::Evdev:
        return "capture_state_evdev_text";
    case platform::HookBackendKind::X11:
        return "capture_state_x11_text";
    case platform::HookBackendKind::InWindow:
        return "capture_state_window_text";
    case platform::HookBackendKind::Injected:
        return "capture_state_injected_text";
    case platform::HookBackendKind::None:
        break;
    }
    return "capture_state_none_text";
}

// Selects the row whose entry matches on type and both parameters; no match leaves the combo as it is.
void selectRow(ui::ListLike combo, std::span<const FunctionRow> rows, KeyEntry entry) {
    if (auto row = findFunctionRow(rows, entry)) combo.select(static_cast<int>(*row));
}

// The row of a list at a combo's position; nothing when the combo shows no row of the list.
std::optional<KeyEntry> rowAt(const ui::ListLike& combo, std::span<const FunctionRow> rows) {
    const int index = combo.current();
    if (index < 0 || static_cast<std::size_t>(index) >= rows.size()) return std::nullopt;
    return rows[static_cast<std::size_t>(index)].entry;
}

std::uint8_t byteOf(long value) {
    return static_cast<std::uint8_t>(std::clamp<long>(value, 0, 255));
}

} // namespace

ButtonEditor::ButtonEditor(PageContext& context) : ctx_(context) {
    ctx_.page.onBuilt(buttonName(0), [this] {
        if (refreshAsked_) refresh();
    });
    ui::Dispatcher& d = ctx_.dispatcher;
    d.onFamily(nt::kSelectChanged, "ms_key_", [this](const Notification&, int button) {
        if (button < 0 || static_cast<std::size_t>(button) >= kMouseButtonCount) return;
        // Only the button that became selected opens the editor, not the one the group let go of.
        if (!ctx_.page.option(buttonName(static_cast<std::size_t>(button))).selected()) return;
        selectButton(button);
    });
    d.on(nt::kItemSelect, kCategoryCombo,
         [this](const Notification&) { chooseCategory(ctx_.page.combo(kCategoryCombo).current()); });
    d.onFamily(nt::kItemSelect, "ms_key_fct_combo_", [this](const Notification&, int n) {
        if (std::find(kParameterCombos.begin(), kParameterCombos.end(), n) != kParameterCombos.end())
            buildEntry();
    });
    d.onFamily(nt::kTextChanged, "ms_key_fct_edit_", [this](const Notification&, int n) {
        if (functionEditRange(n)) parameterChanged(n);
    });
    // Apply: the assignments go into the selected device and button profiles (both hold the table).
    d.on(nt::kClick, "ms_key_butt_keysave",
         [this](const Notification&) { ctx_.save(StoredProfile::MouseDevice | StoredProfile::MouseKeys); });
}

ButtonEditor::~ButtonEditor() {
    stopCapture();
}

std::optional<int> ButtonEditor::selectedButton() const {
    return selected_;
}

KeyAssignmentTable ButtonEditor::table() const {
    KeyAssignmentTable t;
    t.bytes = ctx_.state.mouse.keyPages[0];
    return t;
}

int ButtonEditor::slot() const {
    return ctx_.state.mouse.current[0];
}

// --- Selecting a button ----------------------------------------------------------------------------------

void ButtonEditor::selectButton(int button) {
    const auto i = static_cast<std::size_t>(button);
    const KeyAssignmentTable t = table();
    if (isOnlyLeftClick(t, i)) {
        // The mouse must keep a left click: this button is not edited at all, and nothing captured
        // later may land on it.
        selected_.reset();
        stopCapture();
        ctx_.messages.showMessage(kOnlyLeftClickMessage);
        ctx_.page.find(kEditor).setEnabled(false);
        return;
    }
    selected_ = button;
    edited_ = t.entry(i);
    ui::Control editor = ctx_.page.find(kEditor);
    editor.setEnabled(true);
    editor.setVisible(true);
    // Slots past the three button layouts take the both-sides layout as their default.
    if (edited_ == defaultKeyTableForSlot(slot()).entry(i)) {
        showCategory(category::kDefault);
        return;
    }
    showEntry(edited_);
}

void ButtonEditor::showEntry(KeyEntry e) {
    ui::Page& page = ctx_.page;
    std::optional<int> shown;
    switch (e.type) {
    case fn::kMouseButton:
        selectRow(page.combo(comboName(11)), kMouseButtonFunctions, e);
        shown = category::kMouseButton;
        break;
    case fn::kHorizontalMove: {
        const MoveParams m = decodeHorizontalMove(e);
        page.edit(editName(17)).setText(std::to_string(m.highNibble));
        page.edit(editName(20)).setText(std::to_string(m.lowNibble));
        page.edit(editName(15)).setText(std::to_string(m.distance));
        page.combo(comboName(12)).select(m.secondDirection ? 1 : 0);
        shown = category::kHorizontalMove;
        break;
    }
    case fn::kVerticalMove: {
        const MoveParams m = decodeVerticalMove(e);
        page.edit(editName(18)).setText(std::to_string(m.highNibble));
        page.edit(editName(19)).setText(std::to_string(m.lowNibble));
        page.edit(editName(16)).setText(std::to_string(m.distance));
        page.combo(comboName(13)).select(m.secondDirection ? 1 : 0);
        shown = category::kVerticalMove;
        break;
    }
    case fn::kDpiKey:
        selectRow(page.combo(comboName(14)), kDpiKeyFunctions, e);
        shown = category::kDpiKey;
        break;
    case fn::kFireKey:
        page.edit(editName(11)).setText(std::to_string(e.p1));
        page.edit(editName(12)).setText(std::to_string(e.p2));
        shown = category::kFireKey;
        break;
    case fn::kKeyboard:
        if (categoryOfEntry(e) == category::kOffice) {
            selectRow(page.combo(comboName(26)), kOfficeFunctions, e);
            shown = category::kOffice;
        } else {
            ui::Edit edit = page.edit(kCaptureEdit);
            if (auto row = findKeyByCodePair(e.p1, e.p2))
                edit.setTextId(kKeyCodeTable[*row].name);
            else
                edit.setText(kNoKey); // a combination the table does not name: a key is to be captured
            shown = category::kKeyboardKey;
        }
        break;
    case fn::kConsumer:
        selectRow(page.combo(comboName(21)), kMediaFunctions, e);
        shown = category::kMedia;
        break;
    case fn::kSystem:
        selectRow(page.combo(comboName(22)), kSystemFunctions, e);
        shown = category::kSystem;
        break;
    case fn::kMacro:
    case fn::kMacroRepeat: {
        ui::ListLike macros = page.combo(comboName(23));
        // A macro number past the list (deleted meanwhile, or a foreign file) selects no macro.
        macros.select(e.p1 < macros.count() ? e.p1 : -1);
        if (e.type == fn::kMacro) {
            page.combo(comboName(24)).select(e.p2);
        } else {
            page.edit(editName(25)).setText(std::to_string(e.p2));
            page.combo(comboName(24)).select(kMacroRepeatMode);
        }
        shown = category::kMacro;
        break;
    }
    case fn::kRecoil:
        page.combo(comboName(25)).select(e.p1);
        shown = category::kRecoil;
        break;
    case fn::kDisabled:
        shown = category::kDisable;
        break;
    default:
        // Types without an editor (0x15, 0x21, 0x50, ...) leave the controls as they are.
        break;
    }
    if (shown) showCategory(*shown);
}

// Shows a category's page and makes it the one entries are built from, without building one.
void ButtonEditor::showCategory(int k) {
    category_ = k;
    ctx_.page.combo(kCategoryCombo).select(k);
    ctx_.page.tabs(kCategoryPages).selectPage(k);
    // Keys are captured only while the keyboard-key category is shown: a capture left running would hold
    // back every key the user types elsewhere (evdev grabs the keyboards), the editor's own edits included.
    if (k == category::kKeyboardKey)
        startCapture();
    else
        stopCapture();
}

// --- Categories and entries --------------------------------------------------------------------------

void ButtonEditor::chooseCategory(int k) {
    if (k < 0 || static_cast<std::size_t>(k) >= kFunctionCategoryCount) return;
    showCategory(k);
    buildEntry();
}

void ButtonEditor::parameterChanged(int n) {
    ui::Edit edit = ctx_.page.edit(editName(n));
    if (auto corrected = functionEditCorrection(n, editNumber(edit.text())))
        edit.setText(std::to_string(*corrected));
    buildEntry();
}

bool ButtonEditor::keyCaptured() const {
    const ui::Edit edit = ctx_.page.edit(kCaptureEdit);
    return !edit.textId().empty() || edit.text() != kNoKey;
}

std::optional<KeyEntry> ButtonEditor::entryFromControls() const {
    const ui::Page& page = ctx_.page;
    auto number = [&page](int n) { return functionEditValue(n, page.edit(editName(n)).text()); };
    switch (category_) {
    case category::kDefault:
        return defaultKeyTableForSlot(slot()).entry(static_cast<std::size_t>(*selected_));
    case category::kMouseButton:
        return rowAt(page.combo(comboName(11)), kMouseButtonFunctions);
    case category::kDpiKey:
        return rowAt(page.combo(comboName(14)), kDpiKeyFunctions);
    case category::kMedia:
        return rowAt(page.combo(comboName(21)), kMediaFunctions);
    case category::kSystem:
        return rowAt(page.combo(comboName(22)), kSystemFunctions);
    case category::kOffice:
        return rowAt(page.combo(comboName(26)), kOfficeFunctions);
    case category::kHorizontalMove:
    case category::kVerticalMove: {
        const bool horizontal = category_ == category::kHorizontalMove;
        const int direction = page.combo(comboName(horizontal ? 12 : 13)).current();
        if (direction < 0 || direction > 1) return std::nullopt;
        MoveParams m;
        m.secondDirection = direction == 1;
        m.distance = static_cast<int>(number(horizontal ? 15 : 16));
        m.highNibble = static_cast<int>(number(horizontal ? 17 : 18));
        m.lowNibble = static_cast<int>(number(horizontal ? 20 : 19));
        return horizontal ? encodeHorizontalMove(m) : encodeVerticalMove(m);
    }
    case category::kFireKey:
        return KeyEntry{fn::kFireKey, byteOf(number(11)), byteOf(number(12))};
    case category::kKeyboardKey:
        if (!keyCaptured()) return std::nullopt;
        return edited_;
    case category::kMacro: {
        const int macro = page.combo(comboName(23)).current();
        if (macro < 0) return std::nullopt;
        const int mode = std::max(page.combo(comboName(24)).current(), 0);
        return macroEntry(byteOf(macro), mode, static_cast<int>(number(25)));
    }
    case category::kRecoil: {
        const int pattern = page.combo(comboName(25)).current();
        if (pattern < 0) return std::nullopt;
        return KeyEntry{fn::kRecoil, byteOf(pattern), 0};
    }
    case category::kDisable:
        return kDisabledEntry;
    default:
        return std::nullopt;
    }
}

void ButtonEditor::buildEntry() {
    if (!selected_) return;
    const auto entry = entryFromControls();
    if (!entry) return;
    edited_ = *entry;
    KeyAssignmentTable t = table();
    t.setEntry(static_cast<std::size_t>(*selected_), *entry);
    ctx_.state.mouse.keyPages[0] = t.bytes;
    refresh();
    // The table reaches the mouse with the next save to the device or profile selection; the files that
    // hold it take it now, so an assignment is never lost with the window.
    ctx_.save(StoredProfile::MouseDevice | StoredProfile::MouseKeys);
}

// --- Key capture ------------------------------------------------------------------------------------------

void ButtonEditor::startCapture() {
    platform::HookCallbacks callbacks;
    callbacks.key = [this](const platform::KeyHookEvent& event) { keyPressed(event); };
    capturing_ = ctx_.inputHooks.install(platform::HookMode::KeyCapture, std::move(callbacks));
    showCaptureState(capturing_ ? captureStateText(ctx_.inputHooks.activeBackend())
                                : "capture_state_none_text");
    ui::Control state = ctx_.page.find(kCaptureStateLabel);
    state.setToolTip(capturing_ ? std::string() : ctx_.inputHooks.lastError());
}

void ButtonEditor::stopCapture() {
    if (!capturing_) return;
    capturing_ = false;
    ctx_.inputHooks.removeAll();
    showCaptureState("capture_state_off_text");
}

void ButtonEditor::showCaptureState(const char* textId) {
    ctx_.page.find(kCaptureStateLabel).setTextId(textId);
}

void ButtonEditor::keyPressed(const platform::KeyHookEvent& event) {
    if (event.up() || event.virtualKey > 0xFFFF) return;
    const auto row = captureKeyRow(static_cast<std::uint16_t>(event.virtualKey), event.flags);
    if (!row) return; // not a key of the table, or a media or system key: those have their own lists
    const KeyCodeRow& key = kKeyCodeTable[*row];
    ctx_.page.edit(kCaptureEdit).setTextId(key.name);
    edited_ = KeyEntry{fn::kKeyboard, key.p1, key.p2};
    buildEntry();
}

// --- Labels ----------------------------------------------------------------------------------------------

std::optional<std::string> ButtonEditor::macroName(int number) const {
    const auto file = platform::resolveCaseInsensitive(
        platform::categoryFolder(platform::DeviceFolder::Mouse), kMacroIndexFile);
    const long count = editNumber(platform::readProfileString(file, kMacroCountSection, kMacroCountKey, "0"));
    if (number >= count) return std::nullopt;
    return platform::readProfileString(file, kMacroNameSection, std::to_string(number), "");
}

void ButtonEditor::refresh() {
    // A page not built yet shows the table when it is (see the constructor).
    refreshAsked_ = true;
    if (!ctx_.page.built(buttonName(0))) return;
    const KeyAssignmentTable t = table();
    for (std::size_t i = 0; i < kMouseButtonCount; ++i) {
        ui::Control label = ctx_.page.find(buttonName(i));
        const KeyLabel l = labelForEntry(t.entry(i), LabelPage::Mouse);
        switch (l.kind) {
        case KeyLabel::Kind::TextId:
            label.setTextId(l.text);
            label.setToolTipId(l.text);
            break;
        case KeyLabel::Kind::PlainText:
            label.setText(l.text);
            label.setToolTip(l.text);
            break;
        case KeyLabel::Kind::MacroName: {
            // A macro that no longer exists has no name to show.
            const std::string name = macroName(l.macroNumber).value_or(std::string());
            label.setText(name);
            label.setToolTip(name);
            break;
        }
        case KeyLabel::Kind::Keep:
            break;
        }
    }
}

} // namespace zq::settings::pages
