#pragma once
// The action list of a macro page ("ms_Macro_list" / "kb_Macro_list"): one row per action, the action
// line as the row's data. Rows come in the editor's form (name, state and delay labels with their
// styles) or in the plain form the mouse-event recorder appends; the two forms may follow each other.
#include "macros/macro_action.h"
#include "ui/control.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zq::macros::pages {

class ActionList {
public:
    explicit ActionList(ui::ListLike list) : list_(list) {}

    int count() const { return list_.count(); }
    int selected() const { return list_.current(); }
    void select(int row) { list_.select(row); }
    bool empty() const { return count() == 0; }

    std::string line(int row) const { return list_.itemData(row); }
    MacroAction action(int row) const;
    std::vector<std::string> lines() const;
    // A row the recorder appended: shown as plain text, not opened by the action editor.
    bool isRecorderRow(int row) const;

    // Rows in the editor's form.
    void append(const MacroAction& action);
    void insert(int row, const MacroAction& action);
    // Rewrites a row's line and labels, keeping the form it has.
    void update(int row, const MacroAction& action);
    // The recorder's plain form: name, "▼" or "▲", delay.
    void appendRecorderRow(const MacroAction& action);

    void remove(int row) { list_.remove(row); }
    void clear() { list_.clear(); }
    // Moves a row; it is rebuilt from its line in the editor's form.
    void move(int from, int to);

    // Clears the list and fills it from a macro file (no file: no rows).
    void load(const std::filesystem::path& file);
    void loadLines(const std::vector<std::string>& lines);

    ui::ListLike control() const { return list_; }

private:
    void fill(int row, const MacroAction& action);
    ui::ListLike list_;
};

} // namespace zq::macros::pages
