#include "macros/macro_assignments.h"

#include "settings/function_types.h"

namespace zq::macros {

namespace {

settings::KeyEntry entryOf(const KeyPage& page, std::size_t i) {
    return {page[settings::kKeyEntrySize * i], page[settings::kKeyEntrySize * i + 1],
            page[settings::kKeyEntrySize * i + 2]};
}

void setEntry(KeyPage& page, std::size_t i, const settings::KeyEntry& e) {
    page[settings::kKeyEntrySize * i] = e.type;
    page[settings::kKeyEntrySize * i + 1] = e.p1;
    page[settings::kKeyEntrySize * i + 2] = e.p2;
}

} // namespace

bool isMacroEntry(const settings::KeyEntry& entry) {
    return entry.type == settings::fn::kMacro || entry.type == settings::fn::kMacroRepeat;
}

bool anyPageRunsMacro(std::span<const KeyPage> pages, std::size_t macro) {
    for (const KeyPage& page : pages) {
        for (std::size_t i = 0; i < kMacroAssignableEntries; ++i) {
            const settings::KeyEntry e = entryOf(page, i);
            if (isMacroEntry(e) && e.p1 == macro) return true;
        }
    }
    return false;
}

bool renumberAfterDelete(std::span<KeyPage> pages, std::size_t deleted,
                         const settings::KeyAssignmentTable& defaults) {
    bool changed = false;
    for (KeyPage& page : pages) {
        for (std::size_t i = 0; i < kMacroAssignableEntries; ++i) {
            settings::KeyEntry e = entryOf(page, i);
            if (!isMacroEntry(e)) continue;
            if (e.p1 == deleted) {
                e = defaults.entry(i);
            } else if (e.p1 > deleted) {
                --e.p1;
            } else {
                continue;
            }
            setEntry(page, i, e);
            changed = true;
        }
    }
    return changed;
}

} // namespace zq::macros
