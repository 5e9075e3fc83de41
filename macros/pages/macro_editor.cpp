#include "macros/pages/macro_editor.h"

#include "macros/cursor_path.h"
#include "macros/keyboard_action.h"
#include "macros/macro_assignments.h"
#include "macros/macro_import.h"
#include "macros/mouse_action_table.h"
#include "platform/data_folders.h"
#include "platform/debug.h"
#include "platform/utf8.h"
#include "settings/default_key_tables.h"
#include "settings/keyboard_keys.h"
#include "ui/dispatcher.h"
#include "ui/file_dialogs.h"
#include "ui/message_presenter.h"
#include "ui/page.h"

#include <array>
#include <cstdio>
#include <span>

namespace zq::macros::pages {

namespace {

using ui::Notification;
namespace notify = ui::notify;

constexpr int kNameRowHeight = 30;
constexpr int kAddedNameRowHeight = 25;
constexpr const char* kAddedNameStyle = "listex_item_style";
constexpr const char* kUpTopHotImage = "file='common/up_top_over.png'";
constexpr const char* kUnusedHotImage = "file='common/unuse.png'";

// Editor pages of "<p>_tab_macro_edit".
constexpr int kEditorNothing = 0;
constexpr int kEditorKey = 1;
constexpr int kEditorMouse = 2;

constexpr std::array<std::string_view, 14> kEditingControls{
    "_macro_btn_save",       "_macro_btn_down",   "_macro_btn_up",         "_macro_btn_uptop",
    "_macro_btn_downbottom", "_macro_btn_delete", "_macro_btn_deleteall",  "_macro_btn_cancel",
    "_macro_btn_redio",      "_macro_check_time", "_macro_keyboard_event", "_macro_mouse_click",
    "_macro_mouse_roller",   "_macro_mouse_move"};

constexpr std::array<std::string_view, 5> kRecordingOptions{"_macro_check_time", "_macro_keyboard_event",
                                                            "_macro_mouse_click", "_macro_mouse_roller",
                                                            "_macro_mouse_move"};

constexpr std::array<std::string_view, 5> kInsertGroups{"leftkey", "moudlekey", "rightkey", "forwardkey",
                                                        "backkey"};

struct InsertButton {
    std::string_view button; // after "<p>_macro_inset_"
    std::size_t tableRow;
    std::string_view distanceEdit; // after "<p>_", empty for the buttons
};
constexpr std::array<InsertButton, 14> kInsertButtons{{
    {"leftkeydown_btn", 0, {}},
    {"leftkeyup_btn", 1, {}},
    {"rightkeydown_btn", 2, {}},
    {"rightkeyup_btn", 3, {}},
    {"moudlekeydown_btn", 4, {}},
    {"moudlekeyup_btn", 5, {}},
    {"forwardkeydown_btn", 6, {}},
    {"forwardkeyup_btn", 7, {}},
    {"backkeydown_btn", 8, {}},
    {"backkeyup_btn", 9, {}},
    {"moveleftkey_btn", 10, "mouse_x_left_edit"},
    {"moverightkey_btn", 11, "mouse_x_right_edit"},
    {"moveupkey_btn", 12, "mouse_y_up_edit"},
    {"movedownkey_btn", 13, "mouse_y_down_edit"},
}};

constexpr std::array<std::string_view, 4> kDistanceEdits{"mouse_x_left_edit", "mouse_x_right_edit",
                                                         "mouse_y_up_edit", "mouse_y_down_edit"};

// Text ids of our own for what the described page leaves unsaid.
constexpr const char* kMsgBadName = "message_macro_name_invalid";
constexpr const char* kMsgRenameFailed = "message_macro_rename_failed";
constexpr const char* kMsgImportInvalid = "message_macro_import_invalid";
constexpr const char* kMsgImportTooLong = "message_macro_import_too_long";
constexpr const char* kMsgWriteFailed = "message_file_write_failed";
constexpr const char* kMsgUnreadable = "message_text_8";

constexpr const char* kMacroFilter = "(*.mac) | *.mac ||";

} // namespace

MacroEditor::MacroEditor(PageContext& context, MacroFamily family, std::function<void()> refreshAssignments)
    : ctx_(context), family_(family), prefix_(family == MacroFamily::Mouse ? "ms" : "kb"),
      refreshAssignments_(std::move(refreshAssignments)) {
    registerHandlers();
}

std::filesystem::path MacroEditor::folder() const {
    return platform::categoryFolder(family_ == MacroFamily::Mouse ? platform::DeviceFolder::Mouse
                                                                  : platform::DeviceFolder::Keyboard);
}

ActionList MacroEditor::actions() const {
    return ActionList(ctx_.page.list(name("_Macro_list")));
}

std::vector<std::string> MacroEditor::namesWithoutBuilding() const {
    // The page fills its list from the index when it is built, and every change before then goes to
    // the index alone.
    if (!ctx_.page.built(name("_MacroName_list"))) return readMacroIndex(folder(), family_);
    return names();
}

std::vector<std::string> MacroEditor::names() const {
    ui::ListLike list = ctx_.page.list(name("_MacroName_list"));
    std::vector<std::string> out;
    for (int i = 0; i < list.count(); ++i) out.push_back(list.itemData(i));
    return out;
}

int MacroEditor::selectedMacro() const {
    return ctx_.page.list(name("_MacroName_list")).current();
}

std::optional<std::filesystem::path> MacroEditor::macroFile(std::string_view macroName) const {
    return macroFilePath(folder(), macroName);
}

std::optional<std::string_view> MacroEditor::selectName(std::string_view macroName) const {
    if (family_ != MacroFamily::Mouse) return std::nullopt;
    return macroName;
}

std::string MacroEditor::lookupText(std::string_view id) const {
    ui::Control probe = ctx_.page.find("str_test");
    probe.setTextId(id);
    return probe.exists() ? probe.text() : std::string(id);
}

void MacroEditor::showFileWriteFailure() {
    ctx_.messages.showMessage(kMsgWriteFailed);
}

// ---- handlers -------------------------------------------------------------------------------------

void MacroEditor::registerHandlers() {
    ui::Dispatcher& d = ctx_.dispatcher;
    auto click = [&](std::string_view suffix, std::function<void()> fn) {
        d.on(notify::kClick, name(suffix), [fn = std::move(fn)](const Notification&) { fn(); });
    };
    d.on(notify::kItemSelect, name("_MacroName_list"), [this](const Notification& n) { onSelect(n); });
    click("_macro_btn_name_add", [this] { add(); });
    click("_macro_btn_name_sub", [this] { remove(); });
    click("_macro_btn_savemacroname", [this] { rename(); });
    d.on(notify::kKillFocus, name("_macro_edit_macroname"), [this](const Notification&) { rename(); });
    for (std::string_view op : {"up", "down", "uptop", "downbottom", "delete", "deleteall"}) {
        const std::string suffix = "_macro_btn_" + std::string(op);
        click(suffix, [this, op = std::string(op)] { listOperation(op); });
    }
    d.on(notify::kItemClick, name("_Macro_list"),
         [this](const Notification& n) { rowClick(static_cast<int>(n.wParam)); });
    d.on(notify::kItemSelect, name("_macro_combo_keyselect"),
         [this](const Notification& n) { keyChanged(static_cast<int>(n.wParam)); });
    d.on(notify::kItemSelect, name("_macro_combo_upordown"),
         [this](const Notification& n) { upOrDownChanged(static_cast<int>(n.wParam)); });
    d.on(notify::kItemSelect, name("_macro_combo_mouselect"),
         [this](const Notification& n) { mouseActionChanged(static_cast<int>(n.wParam)); });
    for (std::string_view edit : {"__macro_edit_ActionDelay", "__macro_edit_mou_action_delay"}) {
        const std::string editName = name(edit);
        d.on(notify::kTextChanged, editName,
             [this, editName](const Notification&) { delayChanged(editName); });
    }
    d.on(notify::kTextChanged, name("_macro_edit_mou_pointer_skewing"),
         [this](const Notification&) { distanceChanged(); });

    // Insert panel.
    d.on(notify::kSelectChanged, name("_macro_btn_shubiao"), [this](const Notification& n) {
        ctx_.page.find(name("_MacroMouseEvent")).setVisible(n.wParam != 0);
        ctx_.page.find(name("_MacroName")).setVisible(n.wParam == 0);
    });
    for (std::string_view group : kInsertGroups) {
        click("_macro_inset_" + std::string(group) + "_btn",
              [this, group = std::string(group)] { toggleInsertGroup(group); });
    }
    for (const InsertButton& b : kInsertButtons) {
        click("_macro_inset_" + std::string(b.button), [this, b] { insertRow(b.tableRow, b.distanceEdit); });
    }
    for (std::string_view edit : kDistanceEdits) {
        const std::string editName = name("_" + std::string(edit));
        d.on(notify::kTextChanged, editName, [this, editName](const Notification&) {
            ui::Edit e = ctx_.page.edit(editName);
            if (parseDecimal(e.text()) > static_cast<std::int32_t>(kMaxDistance))
                e.setText(std::to_string(kMaxDistance));
        });
    }
    // The recording options are read when a recording starts; changing one is not a navigation.
    for (std::string_view option : kRecordingOptions)
        d.on(notify::kSelectChanged, name(option), [](const Notification&) {});

    click("_macro_btn_save", [this] { save(); });
    click("_macro_btn_cancel", [this] { cancel(); });
    click("_macro_btn_import", [this] { importMacro(); });
    click("_macro_btn_export", [this] { exportMacro(); });
}

// ---- start, select ---------------------------------------------------------------------------------

// The macro page and the button page's macro list are filled from the index when each is first built
// (most runs open neither); until then every change goes to the index only, which is written before
// either list is touched.
void MacroEditor::start() {
    ctx_.page.whenBuilt(name("_MacroName_list"), [this] { fillMacroPage(); });
    ctx_.page.whenBuilt(name("_key_fct_combo_23"), [this] {
        ui::ListLike combo = ctx_.page.combo(name("_key_fct_combo_23"));
        combo.clear();
        for (const std::string& macro : readMacroIndex(folder(), family_))
            combo.setRowHeight(combo.add(macro, macro), kNameRowHeight);
    });
}

void MacroEditor::fillMacroPage() {
    actions().clear();
    ui::ListLike list = ctx_.page.list(name("_MacroName_list"));
    list.clear();
    for (const std::string& macro : readMacroIndex(folder(), family_))
        list.setRowHeight(list.add(macro, macro), kNameRowHeight);
    setEditingControlsEnabled(list.count() > 0);
    if (list.count() > 0) list.select(list.count() - 1, ui::Notify::Yes);
    ui::ListLike keys = ctx_.page.combo(name("_macro_combo_keyselect"));
    keys.clear();
    for (std::size_t row = 0; row < macroKeyRowCount(); ++row) {
        const auto action = keyboardActionFromRow(row, true);
        const int item = keys.add(action->nameId);
        keys.setItemTextId(item, action->nameId);
        keys.setRowHeight(item, kNameRowHeight);
    }
}

void MacroEditor::onSelect(const Notification& n) {
    if (editing_) {
        ctx_.messages.showMessage("message_text_4");
        // The actions on screen belong to the macro that was selected: the selection goes back to it, so
        // a later Save cannot write them into another macro's file.
        ctx_.page.list(name("_MacroName_list")).select(static_cast<int>(n.lParam));
        return;
    }
    loadSelected();
}

void MacroEditor::loadSelected() {
    ActionList list = actions();
    list.clear();
    const int s = selectedMacro();
    ui::Edit nameEdit = ctx_.page.edit(name("_macro_edit_macroname"));
    if (s < 0) {
        nameEdit.setText("");
        return;
    }
    const std::string macro = ctx_.page.list(name("_MacroName_list")).itemData(s);
    nameEdit.setText(macro);
    if (const auto file = macroFile(macro)) list.load(*file);
    if (!list.empty()) {
        ctx_.page.tabs(name("_tab_macro_edit")).selectPage(kEditorNothing);
        list.select(-1);
    }
}

// ---- editing state ---------------------------------------------------------------------------------

void MacroEditor::lockNames(bool locked) {
    ctx_.page.find(name("_MacroName_list")).setEnabled(!locked);
}

void MacroEditor::enterEditing() {
    editing_ = true;
    ctx_.page.find(name("_macro_tab_saveorcancel")).setVisible(true);
    lockNames(true);
}

void MacroEditor::enterEditingAfter(bool changedOrNotEmpty) {
    if (changedOrNotEmpty) enterEditing();
}

void MacroEditor::leaveEditing() {
    editing_ = false;
    ctx_.page.find(name("_macro_tab_saveorcancel")).setVisible(false);
    ctx_.page.tabs(name("_tab_macro_edit")).selectPage(kEditorNothing);
    ctx_.page.find(name("_macro_btn_name_sub")).setEnabled(true);
    lockNames(false);
}

void MacroEditor::setEditingControlsEnabled(bool enabled) {
    for (std::string_view suffix : kEditingControls) ctx_.page.find(name(suffix)).setEnabled(enabled);
    if (family_ == MacroFamily::Mouse)
        ctx_.page.find(name("_macro_btn_uptop")).setHotImage(enabled ? kUpTopHotImage : kUnusedHotImage);
}

// ---- add, delete, rename ---------------------------------------------------------------------------

void MacroEditor::add() {
    addMacro();
}

bool MacroEditor::addMacro() {
    if (editing_) {
        ctx_.messages.showMessage("message_text_3");
        return false;
    }
    ui::ListLike list = ctx_.page.list(name("_MacroName_list"));
    const std::vector<std::string> existing = names();
    if (existing.size() >= kMaxMacrosPerFamily) {
        char text[512];
        std::snprintf(text, sizeof text, lookupText("message_text_17").c_str(),
                      static_cast<int>(kMaxMacrosPerFamily));
        ctx_.messages.showText(text);
        return false;
    }
    std::size_t k = existing.size() + 1;
    auto taken = [&](const std::string& candidate) {
        for (const std::string& n : existing)
            if (platform::equalsIgnoringCase(n, candidate)) return true;
        return false;
    };
    std::string macro = "name_" + std::to_string(k);
    while (taken(macro)) macro = "name_" + std::to_string(++k);

    // The index first: a macro the index does not hold would vanish at the next start.
    if (!writeMacroIndexEntry(folder(), family_, existing.size() + 1, existing.size(), macro)) {
        showFileWriteFailure();
        return false;
    }
    const int row = list.add(macro, macro);
    list.setRowHeight(row, kAddedNameRowHeight);
    list.setItemStyle(row, kAddedNameStyle);
    list.select(row, ui::Notify::Yes);
    ui::ListLike combo = ctx_.page.builtAs<ui::ListLike>(name("_key_fct_combo_23"));
    combo.setRowHeight(combo.add(macro, macro), kNameRowHeight);
    ctx_.page.find(name("_macro_btn_name_sub")).setEnabled(true);
    setEditingControlsEnabled(true);
    return true;
}

void MacroEditor::remove() {
    const int s = selectedMacro();
    if (s < 0) return;
    device::DeviceState& dev = ctx_.state.state(
        family_ == MacroFamily::Mouse ? device::DeviceClass::Mouse : device::DeviceClass::Keyboard);
    std::span<KeyPage> pages(dev.keyPages);
    // The keyboard asks about its first page only; the renumbering below fixes all five.
    const std::span<const KeyPage> asked = family_ == MacroFamily::Mouse ? pages : pages.first(1);
    if (anyPageRunsMacro(asked, static_cast<std::size_t>(s)) && ctx_.messages.ask("message_text_2") != 1)
        return;
    if (editing_) {
        ctx_.messages.showMessage("message_text_3");
        return;
    }
    if (ctx_.messages.ask("message_text_4") != 1) return;

    std::vector<std::string> remaining = names();
    const std::string macro = remaining[static_cast<std::size_t>(s)];
    remaining.erase(remaining.begin() + s);
    // The index is replaced first, in one step: when that fails nothing has changed yet.
    if (!rewriteMacroIndex(folder(), family_, remaining)) {
        showFileWriteFailure();
        return;
    }
    if (!deleteMacroFile(folder(), macro)) platform::debugString("macro file not deleted: " + macro);

    ui::ListLike combo = ctx_.page.builtAs<ui::ListLike>(name("_key_fct_combo_23"));
    ui::ListLike list = ctx_.page.list(name("_MacroName_list"));
    combo.remove(s);
    list.remove(s);
    actions().clear();
    list.select(-1);
    list.select(0, ui::Notify::Yes);
    combo.select(0);
    if (list.count() == 0) {
        setEditingControlsEnabled(false);
        ctx_.page.edit(name("_macro_edit_macroname")).setText("");
    }

    const settings::KeyAssignmentTable& defaults = family_ == MacroFamily::Mouse
                                                       ? settings::defaultKeyTableForSlot(dev.slot())
                                                       : settings::kKeyboardDefaultKeyTable;
    if (renumberAfterDelete(pages, static_cast<std::size_t>(s), defaults)) {
        // The selected profile keeps the buttons as they now are, so a reload does not bring back numbers
        // that point at other macros.
        using settings::pages::StoredProfile;
        ctx_.save(family_ == MacroFamily::Mouse
                      ? static_cast<unsigned>(StoredProfile::MouseDevice)
                      : StoredProfile::KeyboardDevice | StoredProfile::KeyboardKeys);
    }
    if (refreshAssignments_) refreshAssignments_();
}

void MacroEditor::rename() {
    // Setting texts below can move the focus and start another rename: that one does nothing.
    if (renaming_) return;
    renaming_ = true;
    const int s = selectedMacro();
    if (s >= 0) {
        const std::vector<std::string> all = names();
        const std::string oldName = all[static_cast<std::size_t>(s)];
        // Blanks around a name would not survive the index: they are dropped before anything is compared.
        const std::string newName(platform::trimBlanks(ctx_.page.edit(name("_macro_edit_macroname")).text()));
        renameTo(s, oldName, newName);
    }
    renaming_ = false;
}

void MacroEditor::renameTo(int s, const std::string& oldName, const std::string& typed) {
    ui::Edit edit = ctx_.page.edit(name("_macro_edit_macroname"));
    if (platform::equalsIgnoringCase(typed, oldName)) return;
    const std::vector<std::string> all = names();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (static_cast<int>(i) != s && platform::equalsIgnoringCase(all[i], typed)) {
            ctx_.messages.showMessage("message_text_5");
            edit.setText(oldName);
            return;
        }
    }
    if (!isStorableMacroName(typed)) {
        ctx_.messages.showMessage(kMsgBadName);
        edit.setText(oldName);
        return;
    }
    // The file is renamed before anything is written, so a rename that cannot happen leaves the old
    // file as it was; then the actions on screen go into the renamed file.
    const MacroRename renamed = renameMacroFile(folder(), oldName, typed);
    if (renamed != MacroRename::Renamed && renamed != MacroRename::NoFile) {
        ctx_.messages.showMessage(kMsgRenameFailed);
        edit.setText(oldName);
        return;
    }
    auto undo = [&] {
        if (renamed == MacroRename::Renamed) {
            if (renameMacroFile(folder(), typed, oldName) != MacroRename::Renamed)
                platform::debugString("macro file not renamed back: " + typed);
        } else {
            deleteMacroFile(folder(), typed);
        }
        ctx_.messages.showMessage(kMsgWriteFailed);
        edit.setText(oldName);
    };
    const auto file = macroFile(typed);
    const std::vector<std::string> lines = actions().lines();
    if (!file || !writeMacroFile(*file, lines, selectName(typed)) ||
        !writeMacroName(folder(), family_, static_cast<std::size_t>(s), typed)) {
        undo();
        return;
    }
    ui::ListLike list = ctx_.page.list(name("_MacroName_list"));
    list.setItemText(s, typed);
    list.setItemData(s, typed);
    ui::ListLike combo = ctx_.page.builtAs<ui::ListLike>(name("_key_fct_combo_23"));
    combo.setItemText(s, typed);
    combo.setItemData(s, typed);
    if (refreshAssignments_) refreshAssignments_();
}

// ---- the action list -------------------------------------------------------------------------------

void MacroEditor::listOperation(std::string_view op) {
    ActionList list = actions();
    const int r = list.selected();
    const int n = list.count();
    const bool hadRows = n > 0;
    if (op == "up") {
        if (r >= 1) {
            list.move(r, r - 1);
            list.select(r - 1);
        }
    } else if (op == "down") {
        if (r != -1 && r + 1 < n) {
            list.move(r, r + 1);
            list.select(r + 1);
        }
    } else if (op == "uptop") {
        if (r >= 1) {
            list.move(r, 0);
            list.select(0);
        }
    } else if (op == "downbottom") {
        if (r != -1 && r + 1 < n) {
            list.move(r, n - 1);
            list.select(n - 1);
        }
    } else if (op == "delete") {
        if (r != -1) {
            list.remove(r);
            list.select(-1);
        }
    } else if (op == "deleteall") {
        list.clear();
    }
    // A list emptied by this operation still has a change to save or cancel: the bar shows for it too.
    enterEditingAfter(hadRows || !list.empty());
}

void MacroEditor::rowClick(int row) {
    ActionList list = actions();
    if (row < 0 || row >= list.count() || list.isRecorderRow(row)) return;
    enterEditingAfter(!names().empty());
    const MacroAction a = list.action(row);
    ui::Tabs editor = ctx_.page.tabs(name("_tab_macro_edit"));
    const std::string delay = std::to_string(a.delay());
    if (a.hasKind(ActionKind::Key) || a.hasKind(ActionKind::ModifierKey)) {
        editor.selectPage(kEditorKey);
        const auto keyRow = keyRowOf(a);
        ctx_.page.combo(name("_macro_combo_keyselect")).select(keyRow ? static_cast<int>(*keyRow) : -1);
        ctx_.page.combo(name("_macro_combo_upordown")).select(a.pressed != 0 ? 1 : 0);
        ctx_.page.edit(name("__macro_edit_ActionDelay")).setText(delay);
    } else if (a.kindBits() < static_cast<std::uint8_t>(ActionKind::ModifierKey)) {
        editor.selectPage(kEditorMouse);
        const auto tableRow = mouseTableRowOf(a);
        ctx_.page.combo(name("_macro_combo_mouselect")).select(tableRow ? static_cast<int>(*tableRow) : -1);
        const bool move = a.isMove();
        ctx_.page.find(name("_macro_tab_mou_pointer_skewing")).setVisible(move);
        if (move) ctx_.page.edit(name("_macro_edit_mou_pointer_skewing")).setText(std::to_string(a.code));
        ctx_.page.edit(name("__macro_edit_mou_action_delay")).setText(delay);
    } else {
        editor.selectPage(kEditorNothing);
    }
}

void MacroEditor::keyChanged(int item) {
    ActionList list = actions();
    const int r = list.selected();
    if (r < 0 || item < 0) return;
    MacroAction a = list.action(r);
    const auto key = keyboardActionFromRow(static_cast<std::size_t>(item), a.pressed == 1);
    if (!key) return;
    a.type = key->type;
    a.code = key->code;
    a.nameId = key->nameId;
    list.update(r, a);
}

void MacroEditor::upOrDownChanged(int item) {
    ActionList list = actions();
    const int r = list.selected();
    if (r < 0 || item < 0) return;
    MacroAction a = list.action(r);
    a.pressed = static_cast<std::uint16_t>(item != 0 ? 1 : 0);
    a.type = static_cast<std::uint8_t>((a.type & kKindMask) | (item != 0 ? kPressBit : 0));
    list.update(r, a);
}

void MacroEditor::mouseActionChanged(int item) {
    ActionList list = actions();
    const int r = list.selected();
    if (r < 0 || item < 0 || static_cast<std::size_t>(item) >= kMouseMacroActionTable.size()) return;
    MacroAction a = list.action(r);
    const MouseActionRow& row = kMouseMacroActionTable[static_cast<std::size_t>(item)];
    a.nameId.assign(row.nameId);
    const bool move = static_cast<std::size_t>(item) >= kFirstMoveRow;
    ctx_.page.find(name("_macro_tab_mou_pointer_skewing")).setVisible(move);
    if (move) {
        const std::uint8_t distance = a.isMove() ? a.code : 0;
        a.type = row.type;
        a.code = distance;
        ctx_.page.edit(name("_macro_edit_mou_pointer_skewing")).setText(std::to_string(distance));
    } else {
        a.type = row.type;
        a.code = row.code;
        a.pressed = a.pressBit() ? 1 : 0;
    }
    list.update(r, a);
}

void MacroEditor::delayChanged(std::string_view editName) {
    ui::Edit edit = ctx_.page.edit(editName);
    const std::string text = edit.text();
    if (parseDecimal(text) > static_cast<std::int32_t>(kMaxDelay)) edit.setText(std::to_string(kMaxDelay));
    ActionList list = actions();
    const int r = list.selected();
    if (r < 0) return;
    MacroAction a = list.action(r);
    a.setDelay(clampDelayInput(text));
    list.update(r, a);
}

void MacroEditor::distanceChanged() {
    ui::Edit edit = ctx_.page.edit(name("_macro_edit_mou_pointer_skewing"));
    const std::string text = edit.text();
    if (parseDecimal(text) > static_cast<std::int32_t>(kMaxDistance))
        edit.setText(std::to_string(kMaxDistance));
    ActionList list = actions();
    const int r = list.selected();
    if (r < 0) return;
    MacroAction a = list.action(r);
    // Only a move carries a distance; a button's code is its button bit.
    if (!a.isMove()) return;
    a.code = clampDistanceInput(text);
    list.update(r, a);
}

void MacroEditor::toggleInsertGroup(std::string_view group) {
    const std::string tab = name("_macro_inset_" + std::string(group) + "_tab");
    const bool open = ctx_.page.find(tab).isVisible();
    for (std::string_view g : kInsertGroups)
        ctx_.page.find(name("_macro_inset_" + std::string(g) + "_tab")).setVisible(false);
    ctx_.page.find(tab).setVisible(!open);
}

void MacroEditor::insertRow(std::size_t tableRow, std::string_view distanceEdit) {
    if (selectedMacro() < 0) return;
    std::uint8_t distance = 0;
    if (!distanceEdit.empty())
        distance = clampDistanceInput(ctx_.page.edit(name("_" + std::string(distanceEdit))).text());
    const auto action = mouseActionFromRow(tableRow, distance);
    if (!action) return;
    ActionList list = actions();
    if (list.empty()) {
        list.append(*action);
        list.select(0);
    } else {
        const int r = list.selected();
        list.insert(r < 0 ? 0 : r, *action);
        // The row that was selected stays selected, one further down.
        list.select(r < 0 ? -1 : r + 1);
    }
    enterEditing();
}

// ---- save, cancel ----------------------------------------------------------------------------------

void MacroEditor::save() {
    const std::vector<std::string> all = names();
    const int s = selectedMacro();
    if (!all.empty()) {
        if (!writeMacroIndexEntry(folder(), family_, all.size(), all.size() - 1, all.back())) {
            showFileWriteFailure();
            return;
        }
    }
    if (s >= 0) {
        const std::string& macro = all[static_cast<std::size_t>(s)];
        const auto file = macroFile(macro);
        // Nothing is lost when the file cannot be written: the page stays in editing with the actions
        // on screen, and Save can be pressed again.
        if (!file || !writeMacroFile(*file, actions().lines(), selectName(macro))) {
            showFileWriteFailure();
            return;
        }
    }
    leaveEditing();
    if (family_ == MacroFamily::Mouse) {
        ctx_.page.find(name("_MacroName")).setVisible(true);
        ctx_.page.find(name("_MacroMouseEvent")).setVisible(false);
        ctx_.page.option(name("_macro_btn_shubiao")).setSelected(false);
    }
}

void MacroEditor::cancel() {
    leaveEditing();
    ActionList list = actions();
    list.clear();
    if (readMacroIndex(folder(), family_).size() == names().size()) loadSelected();
}

// ---- import, export --------------------------------------------------------------------------------

void MacroEditor::exportMacro() {
    const int s = selectedMacro();
    if (s < 0) return;
    const std::string macro = names()[static_cast<std::size_t>(s)];
    ui::FileDialogRequest request;
    request.filter = kMacroFilter;
    request.defaultExtension = "mac";
    request.initialName = "*.mac";
    const auto target = ctx_.fileDialogs.saveFile(request);
    if (!target) return;
    const auto file = macroFile(macro);
    // Unsaved changes are not exported: the stored file is what goes out (none: an empty file).
    const auto bytes = file ? readExportBytes(*file) : std::optional<std::string>(std::string());
    if (!bytes) {
        ctx_.messages.showMessage(kMsgUnreadable);
        return;
    }
    if (!writeExportFile(*target, *bytes)) showFileWriteFailure();
}

void MacroEditor::importMacro() {
    if (!names().empty() && selectedMacro() < 0) return;
    // With unsaved changes an import could only end in the same message: it is said before the dialog.
    if (editing_) {
        ctx_.messages.showMessage("message_text_3");
        return;
    }
    ui::FileDialogRequest request;
    request.filter = kMacroFilter;
    request.defaultExtension = "mac";
    request.initialName = "*.mac";
    const auto chosen = ctx_.fileDialogs.openFile(request);
    if (chosen) {
        // The file is checked before the macro is added, so a refused file leaves no empty macro behind.
        const ImportCheck check = checkImportFile(*chosen, kMaxImportedMacroActions, true);
        switch (check.verdict) {
        case ImportCheck::Verdict::Unreadable:
            ctx_.messages.showMessage(kMsgUnreadable);
            return;
        case ImportCheck::Verdict::NotMacroFile:
            ctx_.messages.showMessage(kMsgImportInvalid);
            return;
        case ImportCheck::Verdict::TooManyActions: {
            char text[512];
            std::snprintf(text, sizeof text, lookupText(kMsgImportTooLong).c_str(),
                          static_cast<int>(kMaxImportedMacroActions));
            ctx_.messages.showText(text);
            return;
        }
        case ImportCheck::Verdict::Accepted:
            break;
        }
        if (addMacro()) {
            const std::string macro = names().back();
            const auto file = macroFile(macro);
            if (!file || !writeExportFile(*file, check.bytes)) showFileWriteFailure();
        }
    }
    if (editing_) {
        ctx_.messages.showMessage(family_ == MacroFamily::Mouse ? "message_text_4" : "message_text_3");
        return;
    }
    loadSelected();
}

} // namespace zq::macros::pages
