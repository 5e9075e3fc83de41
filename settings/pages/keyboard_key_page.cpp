#include "settings/pages/keyboard_key_page.h"

#include "device/commands.h"
#include "device/sync.h"
#include "platform/data_folders.h"
#include "platform/input_hook.h"
#include "platform/private_profile.h"
#include "settings/function_lists.h"
#include "settings/key_code_table.h"
#include "settings/key_labels.h"
#include "settings/keyboard_keys.h"
#include "settings/pages/lighting_edit_number.h"
#include "ui/dispatcher.h"
#include "ui/message_presenter.h"
#include "ui/page.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>

namespace zq::settings::pages {

using device::DeviceClass;

namespace {

constexpr std::string_view kEditor = "kb_tab_function";
constexpr std::string_view kCategoryCombo = "kb_key_fct_combo";
constexpr std::string_view kCategoryPages = "kb_tab_function_switch";
constexpr std::string_view kCaptureEdit = "kb_key_fct_edit_21";
constexpr std::string_view kMacroCombo = "kb_key_fct_combo_23";
constexpr std::string_view kPlayModeCombo = "kb_key_fct_combo_24";
constexpr std::string_view kOnlyLeftClickMessage = "message_text_6";
// The hidden text control every label's text passes through, so the tooltip carries the resolved text.
constexpr std::string_view kTextProbe = "str_test";
constexpr std::string_view kTextProbePlaceholder = "Key_Set";
// Macro numbers are one byte: no label or list needs more names than that.
constexpr std::size_t kMaxMacroNames = 256;

std::string combo(int n) {
    return "kb_key_fct_combo_" + std::to_string(n);
}
std::string edit(int n) {
    return "kb_key_fct_edit_" + std::to_string(n);
}

// The keyboard's built-in defaults: every key sends itself, whatever the slot.
KeyEntry defaultEntry(std::size_t key) {
    return kKeyboardDefaultKeyTable.entry(key);
}

std::uint8_t toByte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

} // namespace

KeyboardKeyPage::KeyboardKeyPage(PageContext& context) : ctx_(context) {
    ui::Dispatcher& d = ctx_.dispatcher;
    namespace n = ui::notify;
    d.onFamily(n::kClick, "kb_key_", [this](const ui::Notification&, int key) { onKeyClicked(key); });
    // The picture's keys are options: choosing one is not a page change, so the navigation (which would
    // end a running key capture) never sees it.
    d.onFamily(n::kSelectChanged, "kb_key_", [](const ui::Notification&, int) {});
    d.on(n::kItemSelect, kCategoryCombo,
         [this](const ui::Notification& note) { chooseCategory(static_cast<int>(note.wParam), true); });
    for (int number : {11, 12, 13, 14, 21, 22, 23, 24, 25, 26})
        d.on(n::kItemSelect, combo(number), [this](const ui::Notification&) { build(); });
    for (int number : {11, 12, 15, 16, 17, 18, 19, 20, 25})
        d.on(n::kTextChanged, edit(number), [this, number](const ui::Notification&) { onEdit(number); });
    d.on(n::kClick, "kb_key_butt_keydefalut", [this](const ui::Notification&) { restoreDefault(); });
}

KeyboardKeyPage::~KeyboardKeyPage() {
    if (capturing_) ctx_.inputHooks.removeAll();
}

// The table is page 0 of the keyboard's key pages, byte for byte.
KeyAssignmentTable KeyboardKeyPage::table() const {
    KeyAssignmentTable t;
    static_assert(std::tuple_size_v<decltype(t.bytes)> == device::kKeyPageBytes);
    t.bytes = ctx_.state.keyboard.keyPages[0];
    return t;
}

void KeyboardKeyPage::setEntry(std::size_t key, KeyEntry entry) {
    KeyAssignmentTable t = table();
    t.setEntry(key, entry);
    ctx_.state.keyboard.keyPages[0] = t.bytes;
}

std::size_t KeyboardKeyPage::keyCount() const {
    const std::size_t reported = ctx_.state.keyboard.info[device::kKeyCountOffset];
    if (reported == 0) return kKeyboardKeyIndexCount;
    return std::min(reported, kKeyboardKeyIndexCount);
}

// ---- selection ---------------------------------------------------------------------------------------

void KeyboardKeyPage::onKeyClicked(int key) {
    if (key < 0) return;
    ui::Page& page = ctx_.page;
    if (page.option("kb_key_Op_tab").selected()) {
        ui::Control editor = page.find(kEditor);
        if (!editor.isVisible()) {
            editor.setVisible(true);
            editor.setEnabled(true);
        }
        selectKey(static_cast<std::size_t>(key));
    } else if (page.option("kb_deng_Op_tab").selected()) {
        // On the lighting page a key is a lighting key.
        ctx_.dispatcher.dispatch({ui::notify::kClick, "kb_dkey_" + std::to_string(key), 0, 0});
    }
}

void KeyboardKeyPage::selectKey(std::size_t key) {
    if (key >= keyCount()) return; // a key the keyboard does not have
    ui::Page& page = ctx_.page;
    const KeyEntry entry = table().entry(key);
    selected_ = key;
    if (isOnlyLeftClick(table(), key, keyCount())) {
        ctx_.messages.showMessage(kOnlyLeftClickMessage);
        page.find(kEditor).setEnabled(false);
        return;
    }
    page.find(kEditor).setEnabled(true);
    page.find(kEditor).setVisible(true);
    refreshMacroList();

    int category = category::kDefault;
    if (entry != defaultEntry(key)) {
        auto selectRow = [&](int number, std::span<const FunctionRow> rows) {
            if (auto row = findFunctionRow(rows, entry))
                page.combo(combo(number)).select(static_cast<int>(*row));
        };
        category = categoryOfEntry(entry).value_or(-1);
        switch (entry.type) {
        case fn::kMouseButton:
            selectRow(11, kMouseButtonFunctions);
            break;
        case fn::kHorizontalMove: {
            const MoveParams m = decodeHorizontalMove(entry);
            page.edit(edit(17)).setText(std::to_string(m.highNibble));
            page.edit(edit(20)).setText(std::to_string(m.lowNibble));
            page.edit(edit(15)).setText(std::to_string(m.distance));
            page.combo(combo(12)).select(m.secondDirection ? 1 : 0);
            break;
        }
        case fn::kVerticalMove: {
            const MoveParams m = decodeVerticalMove(entry);
            page.edit(edit(18)).setText(std::to_string(m.highNibble));
            page.edit(edit(19)).setText(std::to_string(m.lowNibble));
            page.edit(edit(16)).setText(std::to_string(m.distance));
            page.combo(combo(13)).select(m.secondDirection ? 1 : 0);
            break;
        }
        case fn::kDpiKey:
            selectRow(14, kDpiKeyFunctions);
            break;
        case fn::kFireKey:
            page.edit(edit(11)).setText(std::to_string(entry.p1));
            page.edit(edit(12)).setText(std::to_string(entry.p2));
            break;
        case fn::kKeyboard:
            if (category == category::kOffice) {
                selectRow(26, kOfficeFunctions);
            } else if (auto row = findKeyByCodePair(entry.p1, entry.p2)) {
                page.edit(kCaptureEdit).setTextId(kKeyCodeTable[*row].name);
                captured_ = entry;
            }
            break;
        case fn::kConsumer:
            selectRow(21, kMediaFunctions);
            break;
        case fn::kSystem:
            selectRow(22, kSystemFunctions);
            break;
        case fn::kMacro:
        case fn::kMacroRepeat: {
            ui::ListLike macros = page.combo(kMacroCombo);
            // A macro number past the list selects nothing.
            macros.select(entry.p1 < macros.count() ? entry.p1 : -1);
            if (entry.type == fn::kMacro) {
                page.combo(kPlayModeCombo).select(entry.p2);
            } else {
                page.edit(edit(25)).setText(std::to_string(entry.p2));
                page.combo(kPlayModeCombo).select(kMacroRepeatMode);
            }
            break;
        }
        case fn::kRecoil:
            page.combo(combo(25)).select(entry.p1);
            break;
        default:
            break; // types without an editor of their own set nothing
        }
    }
    if (category < 0) return;
    page.combo(kCategoryCombo).select(category);
    chooseCategory(category, false);
}

void KeyboardKeyPage::showCategory(int category) {
    ctx_.page.tabs(kCategoryPages).selectPage(category);
}

void KeyboardKeyPage::chooseCategory(int category, bool buildIt) {
    if (category < 0 || category >= static_cast<int>(kFunctionCategoryCount)) return;
    category_ = category;
    showCategory(category);
    if (category == category::kKeyboardKey) {
        // Installed afresh each time (another page's capture, or the end of one by the navigation, may
        // have replaced it). It stays until the page ends it; keys captured under another category only
        // rebuild that category's entry.
        capturing_ = ctx_.inputHooks.install(platform::HookMode::KeyCapture,
                                             {[this](const platform::KeyHookEvent& e) {
                                                  if (!e.up()) onCapturedKey(e.virtualKey, e.flags);
                                              },
                                              {}});
    }
    if (buildIt) build();
}

void KeyboardKeyPage::stopCapture() {
    if (!capturing_) return;
    capturing_ = false;
    ctx_.inputHooks.removeAll();
}

void KeyboardKeyPage::onCapturedKey(std::uint32_t virtualKey, std::uint32_t flags) {
    const auto row = captureKeyRow(static_cast<std::uint16_t>(virtualKey), flags);
    if (!row || virtualKey > 0xFFFF) return; // not a key a keyboard entry can send
    const KeyCodeRow& key = kKeyCodeTable[*row];
    ctx_.page.edit(kCaptureEdit).setTextId(key.name);
    captured_ = KeyEntry{fn::kKeyboard, key.p1, key.p2};
    build();
}

// ---- building ----------------------------------------------------------------------------------------

int KeyboardKeyPage::editValue(int number) const {
    return static_cast<int>(std::clamp(readEditNumber(ctx_.page.edit(edit(number)).text()), 0L, 255L));
}

void KeyboardKeyPage::onEdit(int number) {
    ui::Edit e = ctx_.page.edit(edit(number));
    const long value = readEditNumber(e.text());
    switch (number) {
    case 11: // the fire count: a byte, not raised to 1 here
        if (value > 255) e.setText("255");
        break;
    case 12:
        if (value < 1) e.setText("1");
        if (value > 255) e.setText("255");
        break;
    case 15:
    case 16:
        if (value > kMoveDistanceMax) e.setText(std::to_string(kMoveDistanceMax));
        break;
    case 25:
        if (value < kMacroRepeatMin) e.setText(std::to_string(kMacroRepeatMin));
        if (value > kMacroRepeatMax) e.setText(std::to_string(kMacroRepeatMax));
        break;
    default: // the move steps, 17 to 20
        if (value > kMoveNibbleMax) e.setText(std::to_string(kMoveNibbleMax));
        break;
    }
    build();
}

void KeyboardKeyPage::build() {
    if (!selected_ || *selected_ >= keyCount()) return;
    const std::size_t key = *selected_;
    ui::Page& page = ctx_.page;
    auto rowOf = [&](int number, std::span<const FunctionRow> rows) -> std::optional<KeyEntry> {
        const int index = page.combo(combo(number)).current();
        if (index < 0 || index >= static_cast<int>(rows.size())) return std::nullopt;
        return rows[static_cast<std::size_t>(index)].entry;
    };
    auto move = [&](int directionCombo, int distance, int high, int low) {
        return MoveParams{page.combo(combo(directionCombo)).current() == 1, editValue(distance),
                          editValue(high), editValue(low)};
    };
    std::optional<KeyEntry> entry;
    switch (category_) {
    case category::kDefault:
        entry = defaultEntry(key);
        break;
    case category::kMouseButton:
        entry = rowOf(11, kMouseButtonFunctions);
        break;
    case category::kHorizontalMove:
        entry = encodeHorizontalMove(move(12, 15, 17, 20));
        break;
    case category::kVerticalMove:
        entry = encodeVerticalMove(move(13, 16, 18, 19));
        break;
    case category::kDpiKey:
        entry = rowOf(14, kDpiKeyFunctions);
        break;
    case category::kFireKey:
        entry = KeyEntry{fn::kFireKey, toByte(editValue(11)), toByte(editValue(12))};
        break;
    case category::kKeyboardKey:
        entry = captured_; // nothing until a key was captured
        break;
    case category::kMedia:
        entry = rowOf(21, kMediaFunctions);
        break;
    case category::kSystem:
        entry = rowOf(22, kSystemFunctions);
        break;
    case category::kMacro: {
        const int macro = page.combo(kMacroCombo).current();
        if (macro < 0) break;
        const int mode = std::max(page.combo(kPlayModeCombo).current(), 0);
        entry = macroEntry(toByte(macro), mode, static_cast<int>(readEditNumber(page.edit(edit(25)).text())));
        break;
    }
    case category::kRecoil:
        entry = KeyEntry{fn::kRecoil, toByte(std::max(page.combo(combo(25)).current(), 0)), 0};
        break;
    case category::kOffice:
        entry = rowOf(26, kOfficeFunctions);
        break;
    case category::kDisable:
        entry = kDisabledEntry;
        break;
    default:
        break;
    }
    if (!entry) return;
    const bool changed = table().entry(key) != *entry;
    setEntry(key, *entry);
    refreshLabels();
    if (changed) tableChanged();
}

void KeyboardKeyPage::restoreDefault() {
    if (!selected_) return;
    const std::size_t key = *selected_;
    const bool changed = table().entry(key) != defaultEntry(key);
    setEntry(key, defaultEntry(key));
    selectKey(key);
    refreshLabels();
    if (changed) tableChanged();
}

// ---- the table's way out -----------------------------------------------------------------------------

// A changed table is stored in the selected profiles' files and written to the keyboard.
void KeyboardKeyPage::tableChanged() {
    ctx_.save(StoredProfile::KeyboardKeys | StoredProfile::KeyboardDevice);
    sendKeyTable();
}

void KeyboardKeyPage::sendKeyTable() {
    if (!ctx_.runOnDevice) return;
    if (sending_) {
        sendAgain_ = true;
        return;
    }
    sending_ = true;
    ctx_.runOnDevice(
        DeviceClass::Keyboard,
        [](device::DeviceLink& link, device::DeviceState& keyboard, platform::Event& stop) {
            device::SyncResult r;
            if (stop.isSet() || !link.open) return r;
            device::BeginTransfer(link);
            device::WriteKeyBlockPage(link, keyboard.keyPages[0], 0);
            device::EndTransfer(link);
            return r;
        },
        [this](const device::SyncResult&) {
            sending_ = false;
            if (std::exchange(sendAgain_, false)) sendKeyTable();
        });
}

// ---- labels ------------------------------------------------------------------------------------------

std::vector<std::string> KeyboardKeyPage::macroNames() const {
    const auto file = platform::resolveCaseInsensitive(
        platform::categoryFolder(platform::DeviceFolder::Keyboard), "kbMacro.ini");
    const long count = readEditNumber(platform::readProfileString(file, "MACROCOUNT", "count", "0"));
    std::vector<std::string> keys;
    for (long i = 0; i < count && keys.size() < kMaxMacroNames; ++i) keys.push_back(std::to_string(i));
    return platform::readProfileStrings(file, "MACRONAME", keys, "0");
}

void KeyboardKeyPage::refreshMacroList() {
    // The list sits on the function page; the macro editor fills it from the index when it is built.
    if (!ctx_.page.built(kMacroCombo)) return;
    const std::vector<std::string> names = macroNames();
    ui::ListLike list = ctx_.page.combo(kMacroCombo);
    bool same = list.count() == static_cast<int>(names.size());
    for (std::size_t i = 0; same && i < names.size(); ++i)
        same = list.itemText(static_cast<int>(i)) == names[i];
    if (same) return;
    list.clear();
    for (const std::string& name : names) list.add(name);
}

void KeyboardKeyPage::refreshLabels() {
    ui::Page& page = ctx_.page;
    ui::Control probe = page.find(kTextProbe);
    std::optional<std::vector<std::string>> macros; // read once, when a label needs it
    const std::size_t keys = keyCount();
    for (std::size_t i = 0; i < keys; ++i) {
        const auto position = keyboardLabelOfEntry(i);
        if (!position) continue;
        ui::Control label = page.find(keyboardLabelName(*position));
        const KeyLabel text = labelForEntry(table().entry(i), LabelPage::Keyboard);
        switch (text.kind) {
        case KeyLabel::Kind::TextId: {
            probe.setText(kTextProbePlaceholder);
            probe.setTextId(text.text);
            label.setTextId(text.text);
            label.setToolTip(probe.exists() ? probe.text() : label.text());
            break;
        }
        case KeyLabel::Kind::PlainText:
            label.setText(text.text);
            label.setToolTip(text.text);
            break;
        case KeyLabel::Kind::MacroName: {
            if (!macros) macros = macroNames();
            // A macro the index does not list has no name to show.
            const std::string name = text.macroNumber < macros->size() ? (*macros)[text.macroNumber] : "";
            label.setText(name);
            label.setToolTip(name);
            break;
        }
        case KeyLabel::Kind::Keep:
            break;
        }
    }
}

void KeyboardKeyPage::refresh() {
    refreshMacroList();
    refreshLabels();
}

} // namespace zq::settings::pages
