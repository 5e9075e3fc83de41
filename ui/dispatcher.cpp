#include "ui/dispatcher.h"

#include "ui/skin.h"

#include <charconv>

namespace zq::ui {

void Dispatcher::on(std::string_view type, std::string_view name, Handler handler) {
    tables_[std::string(type)].names[toLower(name)] = std::move(handler);
}

void Dispatcher::onFamily(std::string_view type, std::string_view prefix, IndexedHandler handler) {
    tables_[std::string(type)].families[toLower(prefix)] = std::move(handler);
}

void Dispatcher::onUnmatched(std::string_view type, Handler handler) {
    tables_[std::string(type)].unmatched = std::move(handler);
}

const Dispatcher::Table* Dispatcher::table(std::string_view type) const {
    auto it = tables_.find(type);
    return it == tables_.end() ? nullptr : &it->second;
}

std::optional<std::pair<std::string, int>> Dispatcher::splitIndexed(std::string_view name) {
    const auto underscore = name.rfind('_');
    if (underscore == std::string_view::npos || underscore + 1 >= name.size()) return std::nullopt;
    const std::string_view digits = name.substr(underscore + 1);
    for (char c : digits)
        if (c < '0' || c > '9') return std::nullopt;
    // Ten digits would overflow an int; no family is that large.
    if (digits.size() > 9) return std::nullopt;
    int index = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), index);
    return std::make_pair(toLower(name.substr(0, underscore + 1)), index);
}

bool Dispatcher::handles(std::string_view type, std::string_view name) const {
    const Table* t = table(type);
    if (!t) return false;
    if (t->names.count(toLower(name))) return true;
    const auto split = splitIndexed(name);
    return split && t->families.count(split->first);
}

bool Dispatcher::dispatch(const Notification& n) const {
    const Table* t = table(n.type);
    if (!t) return false;
    // Copies: a handler may register or replace handlers while it runs.
    if (auto it = t->names.find(toLower(n.sender)); it != t->names.end()) {
        const Handler handler = it->second;
        handler(n);
        return true;
    }
    if (const auto split = splitIndexed(n.sender)) {
        if (auto it = t->families.find(split->first); it != t->families.end()) {
            const IndexedHandler handler = it->second;
            handler(n, split->second);
            return true;
        }
    }
    if (t->unmatched) {
        const Handler handler = t->unmatched;
        handler(n);
    }
    return false;
}

} // namespace zq::ui
