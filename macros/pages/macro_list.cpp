#include "macros/pages/macro_list.h"

#include "macros/action_row.h"
#include "macros/macro_files.h"

namespace zq::macros::pages {

namespace {

constexpr int kStateColumn = 1;
constexpr int kDelayColumn = 2;
// The state label of a button or key row has no text of its own in the skin's description; the glyphs
// are the look our style gives it, the same the recorder's rows show.
constexpr const char* kPressGlyph = "\u25BC";
constexpr const char* kReleaseGlyph = "\u25B2";

} // namespace

MacroAction ActionList::action(int row) const {
    return parseActionLine(line(row));
}

std::vector<std::string> ActionList::lines() const {
    std::vector<std::string> out;
    const int n = count();
    out.reserve(static_cast<std::size_t>(n));
    for (int row = 0; row < n; ++row) out.push_back(line(row));
    return out;
}

bool ActionList::isRecorderRow(int row) const {
    return row >= 0 && row < count() && list_.itemStyle(row).empty();
}

void ActionList::fill(int row, const MacroAction& action) {
    const ActionRow r = buildActionRow(action);
    list_.setItemData(row, formatActionLine(action));
    list_.setItemTextId(row, r.name.text);
    list_.setItemStyle(row, r.name.style);
    std::string state = r.state.text;
    if (state.empty()) state = action.pressed != 0 ? kPressGlyph : kReleaseGlyph;
    list_.setCellText(row, kStateColumn, state);
    list_.setCellStyle(row, kStateColumn, r.state.style);
    list_.setCellText(row, kDelayColumn, r.delay.text);
    list_.setCellStyle(row, kDelayColumn, r.delay.style);
    list_.setRowHeight(row, kActionRowHeight);
}

void ActionList::append(const MacroAction& action) {
    insert(count(), action);
}

void ActionList::insert(int row, const MacroAction& action) {
    list_.insert(row, action.nameId, formatActionLine(action));
    fill(row, action);
}

void ActionList::update(int row, const MacroAction& action) {
    if (row < 0 || row >= count()) return;
    if (!isRecorderRow(row)) {
        fill(row, action);
        return;
    }
    const RecorderRow r = buildRecorderRow(action);
    list_.setItemData(row, formatActionLine(action));
    list_.setItemTextId(row, r.nameId);
    list_.setCellText(row, kStateColumn, r.state);
    list_.setCellText(row, kDelayColumn, r.delay);
}

void ActionList::appendRecorderRow(const MacroAction& action) {
    const int row = count();
    const RecorderRow r = buildRecorderRow(action);
    list_.insert(row, r.nameId, formatActionLine(action));
    list_.setItemTextId(row, r.nameId);
    list_.setCellText(row, kStateColumn, r.state);
    list_.setCellText(row, kDelayColumn, r.delay);
    list_.setRowHeight(row, kRecorderRowHeight);
}

void ActionList::move(int from, int to) {
    if (from < 0 || from >= count() || to < 0 || to >= count() || from == to) return;
    const MacroAction a = action(from);
    list_.remove(from);
    insert(to, a);
}

void ActionList::load(const std::filesystem::path& file) {
    loadLines(readMacroLines(file));
}

void ActionList::loadLines(const std::vector<std::string>& lines) {
    clear();
    for (const std::string& l : lines) append(parseActionLine(l));
}

} // namespace zq::macros::pages
