#include "profiles/pages/profile_list_view.h"

#include <cctype>

namespace zq::profiles::pages {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void appendEntry(ui::ListLike& list, const ListEntry& entry) {
    const int at = list.add(entry.displayText, entry.storedName);
    if (at < 0) return;
    if (!entry.displayTextId.empty()) list.setItemTextId(at, entry.displayTextId);
    list.setRowHeight(at, entry.height);
    list.setItemStyle(at, kListItemStyle);
}

void fillList(ui::ListLike& list, const std::vector<ListEntry>& entries) {
    list.clear();
    for (const ListEntry& e : entries) appendEntry(list, e);
    // The view makes its first row current on its own; a list starts without a selection, so the first
    // selection (a device's arrival, the user) is a change and runs the selection handling.
    list.select(-1, ui::Notify::No);
}

std::string storedName(const ui::ListLike& list, int position) {
    return list.itemData(position);
}

std::string displayText(const ui::ListLike& list, int position) {
    return list.itemText(position);
}

std::vector<std::string> storedNames(const ui::ListLike& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.count(); ++i) names.push_back(list.itemData(i));
    return names;
}

bool listHoldsName(const ui::ListLike& list, std::string_view name) {
    for (int i = 0; i < list.count(); ++i)
        if (equalsIgnoringCase(list.itemText(i), name) || equalsIgnoringCase(list.itemData(i), name))
            return true;
    return false;
}

} // namespace zq::profiles::pages
