#pragma once
// The macro editor of one page, the mouse's ("ms_") or the keyboard's ("kb_"): the macro name list, the
// action list and its operations, the action editor, the insert panel, save, cancel, import and export.
//
// The page is clean or editing. Editing is one state with three signs that always go together: the
// save/cancel bar is visible (the window's navigation reads it to keep the user on the page), the name
// list takes no input, and this object's flag is set. Only Save and Cancel leave it.
#include "macros/macro_files.h"
#include "macros/pages/macro_list.h"
#include "settings/pages/page_context.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zq::macros::pages {

using settings::pages::PageContext;

class MacroEditor {
public:
    // `refreshAssignments` redraws the button page of the family after a delete or rename.
    MacroEditor(PageContext& context, MacroFamily family, std::function<void()> refreshAssignments);
    MacroEditor(const MacroEditor&) = delete;
    MacroEditor& operator=(const MacroEditor&) = delete;

    // Page start: the name list and the button page's macro list from the index, each as its layout is
    // built; on the macro page then the last macro selected and the key combo filled.
    void start();

    std::vector<std::string> names() const;
    // The same, read from the index while the macro page is not built yet (it stays so).
    std::vector<std::string> namesWithoutBuilding() const;
    int selectedMacro() const;
    bool editing() const { return editing_; }

    // What recording builds on: the editing state entered with the bar shown, the action list, the
    // editing controls, and the page's control names.
    void enterEditing();
    ActionList actions() const;
    void setEditingControlsEnabled(bool enabled);
    std::string name(std::string_view suffix) const { return prefix_ + std::string(suffix); }
    MacroFamily family() const { return family_; }
    std::filesystem::path folder() const;

private:
    void fillMacroPage();
    void registerHandlers();
    void onSelect(const ui::Notification& n);
    void add();
    bool addMacro(); // true when a macro was added
    void remove();
    void rename();
    void renameTo(int macro, const std::string& oldName, const std::string& newName);
    void listOperation(std::string_view op);
    void rowClick(int row);
    void keyChanged(int item);
    void upOrDownChanged(int item);
    void mouseActionChanged(int item);
    void delayChanged(std::string_view edit);
    void distanceChanged();
    void insertRow(std::size_t tableRow, std::string_view distanceEdit);
    void toggleInsertGroup(std::string_view group);
    void save();
    void cancel();
    void exportMacro();
    void importMacro();

    // Enters editing after an action-list operation or a row click; `showBar` false only where the
    // list had nothing in it before and after (then the page stays clean).
    void enterEditingAfter(bool changedOrNotEmpty);
    void leaveEditing();
    void lockNames(bool locked);
    void loadSelected();
    std::optional<std::filesystem::path> macroFile(std::string_view macroName) const;
    std::optional<std::string_view> selectName(std::string_view macroName) const;
    std::string lookupText(std::string_view id) const;
    void showFileWriteFailure();

    PageContext& ctx_;
    MacroFamily family_;
    std::string prefix_;
    std::function<void()> refreshAssignments_;
    bool editing_ = false;
    bool renaming_ = false;
};

} // namespace zq::macros::pages
