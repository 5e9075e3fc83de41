#pragma once
// A profile list control and the entries it holds: each entry shows a text (or a text id of the
// language file) and keeps the profile's name as its data, which every file operation uses.
#include "profiles/mouse_lists.h"
#include "ui/control.h"

#include <string>
#include <string_view>
#include <vector>

namespace zq::profiles::pages {

inline constexpr std::string_view kListItemStyle = "listex_item_style";

// Appends an entry: height 25, the list item style, its text or text id, its stored name.
void appendEntry(ui::ListLike& list, const ListEntry& entry);
// Empties the list and appends the entries, selecting nothing.
void fillList(ui::ListLike& list, const std::vector<ListEntry>& entries);

std::string storedName(const ui::ListLike& list, int position);
std::string displayText(const ui::ListLike& list, int position);
std::vector<std::string> storedNames(const ui::ListLike& list);

// True when some entry shows `name` or is stored under it, ignoring letter case: both would reach the
// same file.
bool listHoldsName(const ui::ListLike& list, std::string_view name);

bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace zq::profiles::pages
