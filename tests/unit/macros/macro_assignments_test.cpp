#include <gtest/gtest.h>

#include <array>

#include "macros/macro_assignments.h"
#include "settings/default_key_tables.h"
#include "settings/function_types.h"

namespace zq::macros {
namespace {

using settings::KeyEntry;
namespace fn = settings::fn;

KeyPage pageWith(std::initializer_list<std::pair<std::size_t, KeyEntry>> entries) {
    KeyPage page{};
    page.fill(0x05);
    for (const auto& [i, e] : entries) {
        page[3 * i] = e.type;
        page[3 * i + 1] = e.p1;
        page[3 * i + 2] = e.p2;
    }
    return page;
}

KeyEntry entryAt(const KeyPage& page, std::size_t i) {
    return {page[3 * i], page[3 * i + 1], page[3 * i + 2]};
}

TEST(MacroAssignments, OnlyMacroEntriesOfTheFirstSixButtonsCount) {
    const std::array<KeyPage, 2> pages{
        pageWith({{0, {fn::kMacro, 2, 1}}, {6, {fn::kMacro, 1, 0}}}), // entry 6 is past the six buttons
        pageWith({{3, {fn::kMacroRepeat, 4, 9}}, {4, {fn::kKeyboard, 1, 0x04}}}),
    };
    EXPECT_TRUE(anyPageRunsMacro(pages, 2));
    EXPECT_TRUE(anyPageRunsMacro(pages, 4)) << "repeated macros count";
    EXPECT_FALSE(anyPageRunsMacro(pages, 1)) << "entry 6 is not looked at";
    EXPECT_FALSE(anyPageRunsMacro(pages, 0)) << "a keyboard entry whose p1 is 1 is no macro";
    EXPECT_FALSE(anyPageRunsMacro(std::span(pages).first(1), 4)) << "the keyboard asks about page 0 only";
}

// Deleting macro 1 of macros 0-2: a button on macro 2 moves to macro 1, a button on macro 1 gets the
// default of its position, macro 0 stays, and every page is fixed.
TEST(MacroAssignments, DeleteRenumbersLaterMacrosAndRestoresDefaultsOnAllPages) {
    const settings::KeyAssignmentTable& defaults = settings::defaultKeyTableForSlot(0);
    std::array<KeyPage, 5> pages{};
    pages[0] = pageWith({{0, {fn::kMacro, 1, 3}}, {2, {fn::kMacro, 2, 1}}, {5, {fn::kMacro, 0, 0}}});
    pages[4] = pageWith({{1, {fn::kMacroRepeat, 2, 7}}, {7, {fn::kMacro, 2, 0}}});
    const KeyPage untouched = pages[1];

    EXPECT_TRUE(renumberAfterDelete(pages, 1, defaults));

    EXPECT_EQ(entryAt(pages[0], 0), defaults.entry(0)) << "the deleted macro's button gets its default";
    EXPECT_EQ(entryAt(pages[0], 2), (KeyEntry{fn::kMacro, 1, 1}));
    EXPECT_EQ(entryAt(pages[0], 5), (KeyEntry{fn::kMacro, 0, 0}));
    EXPECT_EQ(entryAt(pages[4], 1), (KeyEntry{fn::kMacroRepeat, 1, 7})) << "the repeat count is kept";
    EXPECT_EQ(entryAt(pages[4], 7), (KeyEntry{fn::kMacro, 2, 0})) << "past the six buttons: left alone";
    EXPECT_EQ(pages[1], untouched);
    EXPECT_FALSE(renumberAfterDelete(std::span(pages).subspan(1, 3), 0, defaults)) << "nothing to change";
}

} // namespace
} // namespace zq::macros
